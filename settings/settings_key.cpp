// Registry access for the settings key. Values of the wrong type or size
// count as absent, so every caller keeps its default.
#include "settings/settings_key.h"

#include <cstdlib>

void SettingsKey::Open(HKEY root, const TCHAR* path)
{
    Close();
    open = RegCreateKeyEx(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                          nullptr, &key, nullptr) == ERROR_SUCCESS;
}

bool SettingsKey::ReadNumber(const TCHAR* name, int* number)
{
    if (!open)
        return false;
    DWORD type = 0;
    DWORD size = sizeof(DWORD);
    if (RegQueryValueEx(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return false;
    DWORD value = 0;
    size = sizeof value;
    if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return false;
    *number = static_cast<int>(value);
    return true;
}

bool SettingsKey::ReadText(const TCHAR* name, TCHAR** text)
{
    if (!open)
        return false;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueEx(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0)
        return false;
    // A stored string need not carry its terminator (nor, in wide text, an
    // even number of bytes): the buffer has room for one more character
    // beyond what the value holds and is zero-filled, so the result is always
    // terminated inside it.
    const DWORD capacity = size + 2 * sizeof(TCHAR);
    auto* buffer = static_cast<TCHAR*>(std::calloc(capacity, 1));
    if (buffer == nullptr)
        return false;
    if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        std::free(buffer);
        return false;
    }
    buffer[size / sizeof(TCHAR)] = 0;
    *text = buffer;
    return true;
}

bool SettingsKey::WriteNumber(const TCHAR* name, int number)
{
    if (!open)
        return false;
    const DWORD value = static_cast<DWORD>(number);
    return RegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                         sizeof value) == ERROR_SUCCESS;
}

bool SettingsKey::WriteText(const TCHAR* name, const TCHAR* text)
{
    if (!open)
        return false;
    const DWORD size = static_cast<DWORD>((lstrlen(text) + 1) * sizeof(TCHAR));
    return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) ==
           ERROR_SUCCESS;
}

bool SettingsKey::DeleteValue(const TCHAR* name)
{
    return open && RegDeleteValue(key, name) == ERROR_SUCCESS;
}

void SettingsKey::Close()
{
    if (open)
        RegCloseKey(key);
    open = FALSE;
    key = nullptr;
}

void FreeSettingsText(TCHAR* text) { std::free(text); }

#include "tests/win32/settings_fixture.h"

#include "settings/settings_key.h"

namespace {

HKEY OpenForTest()
{
    HKEY key = nullptr;
    RegCreateKeyEx(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                   nullptr);
    return key;
}

}  // namespace

void DeleteSettingsKey() { RegDeleteTree(HKEY_CURRENT_USER, SETTINGS_KEY_PATH); RegDeleteKey(HKEY_CURRENT_USER, SETTINGS_KEY_PATH); }

void StoreRawValue(const TCHAR* name, DWORD type, const void* bytes, DWORD size)
{
    HKEY key = OpenForTest();
    RegSetValueEx(key, name, 0, type, static_cast<const BYTE*>(bytes), size);
    RegCloseKey(key);
}

void StoreNumber(const TCHAR* name, int number)
{
    const DWORD value = static_cast<DWORD>(number);
    StoreRawValue(name, REG_DWORD, &value, sizeof value);
}

void StoreText(const TCHAR* name, const TCHAR* text)
{
    StoreRawValue(name, REG_SZ, text, static_cast<DWORD>((lstrlen(text) + 1) * sizeof(TCHAR)));
}

bool HasValue(const TCHAR* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    const bool found = RegQueryValueEx(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

int StoredNumber(const TCHAR* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        value = 0;
    RegCloseKey(key);
    return static_cast<int>(value);
}

int CountValues()
{
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -1;
    DWORD values = 0;
    RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                    nullptr, nullptr);
    RegCloseKey(key);
    return static_cast<int>(values);
}

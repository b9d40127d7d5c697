// The settings key: every value that survives between runs lives under
// HKEY_CURRENT_USER\Software\Quorvan\VellumRules. A SettingsKey is opened,
// used and closed within one operation, and closes itself on every way out.
#pragma once

#include <windows.h>

#define SETTINGS_KEY_PATH TEXT("Software\\Quorvan\\VellumRules")

class SettingsKey {
public:
    SettingsKey() = default;
    ~SettingsKey() { Close(); }
    SettingsKey(const SettingsKey&) = delete;
    SettingsKey& operator=(const SettingsKey&) = delete;

    // Creates the key if it does not exist, otherwise opens it.
    void Open(HKEY root, const TCHAR* path);

    // Each read fails, leaving number or text untouched, when the key is not
    // open or the value is missing or of another type.
    bool ReadNumber(const TCHAR* name, int* number);
    // On success *text is a terminated heap copy that the caller frees with
    // FreeSettingsText.
    bool ReadText(const TCHAR* name, TCHAR** text);

    bool WriteNumber(const TCHAR* name, int number);
    bool WriteText(const TCHAR* name, const TCHAR* text);
    bool DeleteValue(const TCHAR* name);

    void Close();

private:
    BOOL open = FALSE;
    HKEY key = nullptr;
};

void FreeSettingsText(TCHAR* text);

// Opens the program's settings key.
inline void OpenSettings(SettingsKey& settings)
{
    settings.Open(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);
}

// Reads the whole settings key, with values of any type and size.
#include "tests/e2e/settings_snapshot.h"

#include <vector>

#include "settings/settings_key.h"

SettingsSnapshot TakeSettingsSnapshot()
{
    SettingsSnapshot snapshot;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return snapshot;
    DWORD longestName = 0;
    DWORD largestData = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &longestName, &largestData, nullptr, nullptr);
    std::vector<char> name(longestName + 1);
    std::vector<BYTE> data(largestData + 1);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type, data.data(),
                          &size) != ERROR_SUCCESS)
            break;
        snapshot[std::string(name.data(), nameLength)] =
            StoredValue{type, std::string(reinterpret_cast<const char*>(data.data()), size)};
    }
    RegCloseKey(key);
    return snapshot;
}

std::set<std::string> ChangedNames(const SettingsSnapshot& before, const SettingsSnapshot& after)
{
    std::set<std::string> changed;
    for (const auto& value : before) {
        const auto found = after.find(value.first);
        if (found == after.end() || !(found->second == value.second))
            changed.insert(value.first);
    }
    for (const auto& value : after)
        if (before.count(value.first) == 0)
            changed.insert(value.first);
    return changed;
}

std::string JoinNames(const std::set<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "\"" : " \"") + name + "\"";
    return joined;
}

// Every value under the settings key, taken whole, so that a test can say
// exactly which values a program wrote, changed or removed.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>

struct StoredValue {
    DWORD type;
    std::string bytes;
    bool operator==(const StoredValue& other) const
    {
        return type == other.type && bytes == other.bytes;
    }
};

using SettingsSnapshot = std::map<std::string, StoredValue>;

SettingsSnapshot TakeSettingsSnapshot();

// Names added, removed or changed between two snapshots.
std::set<std::string> ChangedNames(const SettingsSnapshot& before, const SettingsSnapshot& after);

// The names quoted and joined, for failure messages.
std::string JoinNames(const std::set<std::string>& names);

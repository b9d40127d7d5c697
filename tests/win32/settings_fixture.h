// Helpers for tests that use the real registry of the test prefix: each test
// starts from a missing settings key and can store values of any type.
#pragma once

#include <windows.h>

#include <string>

// Removes the settings key with all its values.
void DeleteSettingsKey();

// Stores raw bytes of any registry type under the settings key.
void StoreRawValue(const TCHAR* name, DWORD type, const void* bytes, DWORD size);
void StoreNumber(const TCHAR* name, int number);
void StoreText(const TCHAR* name, const TCHAR* text);

// Whether the value exists, and its number (0 when missing or no number).
bool HasValue(const TCHAR* name);
int StoredNumber(const TCHAR* name);

// How many values the settings key holds; -1 when it does not exist.
int CountValues();

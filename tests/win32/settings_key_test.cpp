// The settings key over the real registry: types and sizes that do not fit
// count as absent, numbers come back signed, texts always terminated.
#include <gtest/gtest.h>

#include <climits>

#include "settings/settings_key.h"
#include "tests/win32/settings_fixture.h"

namespace {

class SettingsKeyTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override { DeleteSettingsKey(); }
};

TEST_F(SettingsKeyTest, FirstOpenCreatesTheEmptyKey)
{
    EXPECT_EQ(CountValues(), -1);
    SettingsKey settings;
    OpenSettings(settings);
    int number = 7;
    EXPECT_FALSE(settings.ReadNumber(TEXT("Category"), &number));
    EXPECT_EQ(number, 7);
    EXPECT_EQ(CountValues(), 0);
}

TEST_F(SettingsKeyTest, NumbersRoundTripSigned)
{
    SettingsKey settings;
    OpenSettings(settings);
    for (const int value : {0, 1, -1, -1200, INT_MIN, INT_MAX}) {
        ASSERT_TRUE(settings.WriteNumber(TEXT("Left 1"), value));
        int back = 12345;
        ASSERT_TRUE(settings.ReadNumber(TEXT("Left 1"), &back));
        EXPECT_EQ(back, value);
    }
}

TEST_F(SettingsKeyTest, TextsRoundTripAndDeleteReportsWhetherAValueWentAway)
{
    SettingsKey settings;
    OpenSettings(settings);
    ASSERT_TRUE(settings.WriteText(TEXT("Font"), TEXT("DejaVu Serif")));
    TCHAR* text = nullptr;
    ASSERT_TRUE(settings.ReadText(TEXT("Font"), &text));
    EXPECT_STREQ(text, TEXT("DejaVu Serif"));
    FreeSettingsText(text);
    EXPECT_TRUE(settings.DeleteValue(TEXT("Font")));
    EXPECT_FALSE(settings.DeleteValue(TEXT("Font")));
}

// Each case stores a value that a reader of the other kind must refuse.
struct WrongValue {
    const TCHAR* name;
    DWORD type;
    const void* bytes;
    DWORD size;
};

const TCHAR twelve[] = TEXT("12");
const TCHAR tahoma[] = TEXT("Tahoma");
const DWORD seven = 7;
const WORD shortNumber = 7;

TEST_F(SettingsKeyTest, WrongTypesAndSizesReadAsAbsent)
{
    const WrongValue numbers[] = {
        {TEXT("FontSize"), REG_SZ, twelve, sizeof twelve},
        {TEXT("FontSize"), REG_BINARY, &seven, sizeof seven},
        {TEXT("FontSize"), REG_DWORD, &shortNumber, sizeof shortNumber},
    };
    for (const WrongValue& value : numbers) {
        StoreRawValue(value.name, value.type, value.bytes, value.size);
        SettingsKey settings;
        OpenSettings(settings);
        int number = 10;
        EXPECT_FALSE(settings.ReadNumber(value.name, &number)) << value.type;
        EXPECT_EQ(number, 10);
    }
    const WrongValue texts[] = {
        {TEXT("Font"), REG_DWORD, &seven, sizeof seven},
        {TEXT("Font"), REG_EXPAND_SZ, tahoma, sizeof tahoma},
        {TEXT("Font"), REG_MULTI_SZ, tahoma, sizeof tahoma},
        {TEXT("Font"), REG_SZ, tahoma, 0},
    };
    for (const WrongValue& value : texts) {
        StoreRawValue(value.name, value.type, value.bytes, value.size);
        SettingsKey settings;
        OpenSettings(settings);
        TCHAR* text = nullptr;
        EXPECT_FALSE(settings.ReadText(value.name, &text)) << value.type << " " << value.size;
        EXPECT_EQ(text, nullptr);
    }
}

TEST_F(SettingsKeyTest, TextStoredWithoutItsTerminatorIsReadTerminated)
{
    // "Tahoma" followed by more letters in memory, stored without a terminator.
    const TCHAR longer[] = TEXT("TahomaXXXXXXXX");
    StoreRawValue(TEXT("Font"), REG_SZ, longer, 6 * sizeof(TCHAR));
    SettingsKey settings;
    OpenSettings(settings);
    TCHAR* text = nullptr;
    ASSERT_TRUE(settings.ReadText(TEXT("Font"), &text));
    EXPECT_STREQ(text, TEXT("Tahoma"));
    FreeSettingsText(text);

    // An odd byte count: in wide text the half character is dropped.
    StoreRawValue(TEXT("Font"), REG_SZ, longer, 6 * sizeof(TCHAR) + 1);
    ASSERT_TRUE(settings.ReadText(TEXT("Font"), &text));
    EXPECT_STREQ(text, sizeof(TCHAR) == 1 ? TEXT("TahomaX") : TEXT("Tahoma"));
    FreeSettingsText(text);
}

TEST_F(SettingsKeyTest, KeyThatCannotBeOpenedFailsEveryCallQuietly)
{
    SettingsKey settings;
    settings.Open(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), SETTINGS_KEY_PATH);
    int number = 3;
    TCHAR* text = nullptr;
    EXPECT_FALSE(settings.ReadNumber(TEXT("Category"), &number));
    EXPECT_FALSE(settings.ReadText(TEXT("Font"), &text));
    EXPECT_FALSE(settings.WriteNumber(TEXT("Category"), 1));
    EXPECT_FALSE(settings.WriteText(TEXT("Font"), TEXT("x")));
    EXPECT_FALSE(settings.DeleteValue(TEXT("Item")));
    settings.Close();
    settings.Close();
    EXPECT_EQ(number, 3);
    EXPECT_EQ(CountValues(), -1);
}

}  // namespace

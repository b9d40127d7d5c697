// A browser pane from the real template 102 in a visible host window, over
// the shipped rules and a settings key that each test starts without.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "pane/browser_pane.h"
#include "tests/win32/settings_fixture.h"

#include <gtest/gtest.h>

using TextString = std::basic_string<TCHAR>;

class PaneTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the pane (which loads the rules and restores the stored choice)
    // and shows it over the host window's client area.
    void OpenPane();
    // Destroys the pane and its host and starts again from no settings.
    void ClosePane();

    HWND Control(int id) const { return GetDlgItem(pane.window, id); }
    HWND ItemEdit() const;

    // What a user's choice sends: a selection and its notification.
    void ChooseCategory(int category);
    void ChooseItem(int position);
    void CloseItemList();
    void OpenItemListByHand();
    // Types characters into the item list's edit field, one WM_CHAR each.
    void Type(const TextString& text);
    void PlaceCaret(int position);

    std::vector<TextString> Items() const;
    TextString ShownText() const;
    int CategorySelection() const;
    bool ItemListOpen() const;

public:
    // What the image holds, as the user interface shows it.
    static TextString Title(int category, int entry);
    static TextString EntryText(int category, int entry);
    static std::vector<TextString> AllTitles(int category);
    // The titles that hold every blank-separated word, folding A to Z only.
    static std::vector<TextString> TitlesHoldingAll(int category, const TextString& words);

protected:
    HWND host = nullptr;
    BrowserPane pane;
};

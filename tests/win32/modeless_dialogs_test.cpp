// The modeless-dialog list keeps the order of registration through removals.
#include <gtest/gtest.h>

#include <vector>

#include "shell/desktop/modeless_dialogs.h"

namespace {

// Handles that stand for dialogs: the list only stores and compares them.
HWND Dialog(int n) { return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x5000 + n)); }

std::vector<HWND> Registered()
{
    std::vector<HWND> dialogs;
    for (const ModelessDialogNode* node = FirstModelessDialog(); node != nullptr; node = node->next)
        dialogs.push_back(node->dialog);
    return dialogs;
}

TEST(ModelessDialogs, RemovalsKeepTheOrderAndTheTail)
{
    ASSERT_TRUE(Registered().empty());
    AddModelessDialog(Dialog(1));
    AddModelessDialog(Dialog(2));
    AddModelessDialog(Dialog(3));
    RemoveModelessDialog(Dialog(9));
    EXPECT_EQ(Registered(), (std::vector<HWND>{Dialog(1), Dialog(2), Dialog(3)}));

    RemoveModelessDialog(Dialog(2));
    EXPECT_EQ(Registered(), (std::vector<HWND>{Dialog(1), Dialog(3)}));
    // Removing the last makes the one before it the tail: a new dialog is
    // linked behind that one.
    RemoveModelessDialog(Dialog(3));
    AddModelessDialog(Dialog(4));
    EXPECT_EQ(Registered(), (std::vector<HWND>{Dialog(1), Dialog(4)}));

    RemoveModelessDialog(Dialog(1));
    RemoveModelessDialog(Dialog(4));
    EXPECT_TRUE(Registered().empty());
    AddModelessDialog(Dialog(5));
    EXPECT_EQ(Registered(), std::vector<HWND>{Dialog(5)});
    RemoveModelessDialog(Dialog(5));
}

}  // namespace

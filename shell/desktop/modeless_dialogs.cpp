#include "shell/desktop/modeless_dialogs.h"

#include <new>

namespace {

ModelessDialogNode* head = nullptr;
ModelessDialogNode* tail = nullptr;

}  // namespace

void AddModelessDialog(HWND dialog)
{
    // Without memory for a node the dialog still works, only without Tab and
    // Enter; nothing better can be done for it.
    auto* node = new (std::nothrow) ModelessDialogNode{dialog, nullptr};
    if (node == nullptr)
        return;
    if (tail == nullptr)
        head = node;
    else
        tail->next = node;
    tail = node;
}

void RemoveModelessDialog(HWND dialog)
{
    ModelessDialogNode* previous = nullptr;
    ModelessDialogNode* node = head;
    while (node != nullptr && node->dialog != dialog) {
        previous = node;
        node = node->next;
    }
    if (node == nullptr)
        return;
    if (node == head)
        head = node->next;
    if (node == tail)
        tail = previous;
    if (previous != nullptr)
        previous->next = node->next;
    delete node;
}

bool IsModelessDialogMessage(MSG* message)
{
    for (const ModelessDialogNode* node = head; node != nullptr; node = node->next) {
        if (IsDialogMessage(node->dialog, message))
            return true;
    }
    return false;
}

const ModelessDialogNode* FirstModelessDialog() { return head; }

// Resource and control ids shared by both programs and their resource scripts.
#pragma once

#define IDR_RULES_DATA 114

// The browser pane: template 102 and its three controls.
#define IDD_PANE 102
#define IDC_CATEGORY_LIST 111
#define IDC_ITEM_LIST 112
#define IDC_TEXT_VIEW 113

// A closing dice dialog hands itself to the pane with this message.
#define WM_DICE_CLOSED (WM_USER + 23)

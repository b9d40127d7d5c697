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

// The dice dialog: template 132, its controls and the handheld menu bar's
// Clear command.
#define IDD_DICE 132
#define IDC_DICE_COUNT 133
#define IDC_DICE_COUNT_ARROWS 134
#define IDC_DIE_LIST 135
#define IDC_DICE_MODIFIER 136
#define IDC_DICE_MODIFIER_ARROWS 137
#define IDC_DICE_REPEATS 138
#define IDC_DICE_REPEATS_ARROWS 139
#define IDC_ROLL 140
#define IDC_DICE_RESULTS 141
#define IDC_DICE_PLUS 142
#define IDC_DICE_TIMES 143
#define IDC_QUICK_D2 150
#define IDC_QUICK_D3 151
#define IDC_QUICK_D4 152
#define IDC_QUICK_D6 153
#define IDC_QUICK_D8 154
#define IDC_QUICK_D10 155
#define IDC_QUICK_D12 156
#define IDC_QUICK_D20 157
#define IDC_QUICK_D100 158
#define IDM_CLEAR_DICE 162
#define IDC_SIP_PREFERENCE 65535

// The Options dialog: template 116 and its controls.
#define IDD_OPTIONS 116
#define IDC_SIZE_LIST 117
#define IDC_FACE_LIST 118
#define IDC_SIZE_LABEL 119
#define IDC_FONT_LABEL 120
#define IDC_BODY_SEARCH 122
#define IDC_FONT_GROUP 130
#define IDC_SEARCH_GROUP 131
#define IDC_STICKY_FULL 149

// The desktop main window: icon, menu, accelerators and commands.
#define IDI_PROGRAM 101
#define IDM_MAIN 104
#define IDA_MAIN 145
#define IDM_NEW_WINDOW 121
#define IDM_OPTIONS 115
#define IDM_EXIT 106
#define IDM_FULL_SEARCH 127
#define IDM_ROLL_DICE 144
#define IDM_ABOUT 109
#define IDK_ROLL_DICE 146
#define IDK_FULL_SEARCH 147
#define IDK_NEW_WINDOW 148

// The full-body search dialog: template 123 and its controls.
#define IDD_SEARCH 123
#define IDC_SEARCH_FIND 124
#define IDC_SEARCH_RESULTS 125
#define IDC_SEARCH_BOX 126

// The handheld program: menu bars, their strings and the toolbar strip.
#define IDR_MAIN_MENU_BAR 103
#define IDR_DICE_MENU_BAR 159
#define IDR_SEARCH_MENU_BAR 165
#define IDB_MENU_BAR 160
#define IDS_FILE 107
#define IDS_HELP 108
#define IDS_OTHER 128
#define IDS_CLEAR_EVERYTHING 161
#define IDS_ROLL_DICE_TIP 163
#define IDS_FULL_SEARCH_TIP 164

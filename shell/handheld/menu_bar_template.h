// The menu-bar template of the handheld program's resources (RCDATA): 16-bit
// little-endian words: the id of the menu whose sub-menus the drop-down
// buttons open (0 for none), the button count, then seven words per button.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::uint16_t menuBarNoImage = 0xFFFE;
constexpr std::uint16_t menuBarDropDown = 0x08;  // with 0x10, sized to its content

struct MenuBarButton {
    std::uint16_t image;    // index in the bar's bitmap strip, or menuBarNoImage
    std::uint16_t command;  // sent to the bar's parent when the button is tapped
    std::uint16_t state;    // 4: enabled
    std::uint16_t style;    // 0x18: drop-down; 0x10: plain
    std::uint16_t caption;  // string id, 0 for none
    std::uint16_t tip;      // string id of the tool tip, 0 for none
    std::uint16_t subMenu;  // for a drop-down: the sub-menu it opens
};

struct MenuBarTemplate {
    std::uint16_t menu = 0;
    std::vector<MenuBarButton> buttons;
};

// Reads a template; false when the bytes are too short for the count they
// give, or not whole words.
bool ReadMenuBarTemplate(const unsigned char* bytes, std::size_t size, MenuBarTemplate& bar);

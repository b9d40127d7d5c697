#include "shell/handheld/menu_bar_template.h"

namespace {

constexpr std::size_t wordsPerButton = 7;

std::uint16_t WordAt(const unsigned char* bytes, std::size_t word)
{
    return static_cast<std::uint16_t>(bytes[2 * word] | bytes[2 * word + 1] << 8);
}

}  // namespace

bool ReadMenuBarTemplate(const unsigned char* bytes, std::size_t size, MenuBarTemplate& bar)
{
    if (size < 4 || size % 2 != 0)
        return false;
    const std::size_t count = WordAt(bytes, 1);
    if (size / 2 < 2 + count * wordsPerButton)
        return false;
    bar.menu = WordAt(bytes, 0);
    bar.buttons.clear();
    for (std::size_t b = 0; b < count; ++b) {
        const std::size_t at = 2 + b * wordsPerButton;
        bar.buttons.push_back(MenuBarButton{WordAt(bytes, at), WordAt(bytes, at + 1), WordAt(bytes, at + 2),
                                            WordAt(bytes, at + 3), WordAt(bytes, at + 4), WordAt(bytes, at + 5),
                                            WordAt(bytes, at + 6)});
    }
    return true;
}

// libFuzzer target: any bytes as a menu-bar template resource. The reader
// must never read outside them, and a template it accepts must hold exactly
// the buttons its count word gives.
#include <cstdlib>
#include <vector>

#include "shell/handheld/menu_bar_template.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    // A copy of exactly size bytes, so AddressSanitizer sees any read past them.
    const std::vector<unsigned char> bytes(data, data + size);
    MenuBarTemplate bar;
    if (!ReadMenuBarTemplate(bytes.data(), bytes.size(), bar))
        return 0;
    const std::size_t count = static_cast<std::size_t>(bytes[2] | bytes[3] << 8);
    if (size % 2 != 0 || bar.buttons.size() != count || size < 4 + 14 * count)
        std::abort();
    if (bar.menu != (bytes[0] | bytes[1] << 8))
        std::abort();
    if (count > 0 && bar.buttons.back().subMenu != (bytes[2 + 14 * count] | bytes[3 + 14 * count] << 8))
        std::abort();
    return 0;
}

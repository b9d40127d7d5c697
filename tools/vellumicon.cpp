// vellumicon: draws the program icon, turning its pixel-art source into a
// Windows .ico file with a 32 x 32 and a 16 x 16 image; with --bitmap, draws
// the handheld menu bar's bitmap, a 16-colour .bmp strip of three 16 x 16
// button images.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/icon/bmp_file.h"
#include "tools/icon/ico_file.h"
#include "tools/icon/icon_source.h"

namespace {

// The menu bar's images, left to right in the order of the source.
const std::vector<int> toolbarImageSizes = {16, 16, 16};

bool ReadText(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

int Refuse(const std::vector<std::string>& errors)
{
    for (const std::string& error : errors)
        std::cerr << error << "\n";
    return 1;
}

int WriteOutput(const std::string& path, const std::vector<unsigned char>& bytes)
{
    if (!WriteBytes(path, bytes)) {
        std::cerr << "cannot write " << path << "\n";
        return 1;
    }
    return 0;
}

int MakeIcon(const std::string& sourcePath, const std::string& icoPath)
{
    std::string text;
    if (!ReadText(sourcePath, text)) {
        std::cerr << sourcePath << ": cannot be read\n";
        return 1;
    }
    std::vector<IconImage> images;
    std::vector<std::string> errors;
    if (!ParseIconSource(text, sourcePath, images, errors))
        return Refuse(errors);
    return WriteOutput(icoPath, BuildIcoFile(images));
}

int MakeBitmap(const std::string& sourcePath, const std::string& bmpPath)
{
    std::string text;
    if (!ReadText(sourcePath, text)) {
        std::cerr << sourcePath << ": cannot be read\n";
        return 1;
    }
    std::vector<IconImage> images;
    std::vector<std::string> errors;
    if (!ParsePixelSource(text, sourcePath, toolbarImageSizes, images, errors))
        return Refuse(errors);
    PalettedImage strip;
    if (!MakeBitmapStrip(images, sourcePath, strip, errors))
        return Refuse(errors);
    return WriteOutput(bmpPath, BuildBmpFile(strip));
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string usage = "usage: vellumicon <source.txt> <out.ico>\n"
                              "       vellumicon --bitmap <source.txt> <out.bmp>\n";
    if (argc == 4 && std::string(argv[1]) == "--bitmap")
        return MakeBitmap(argv[2], argv[3]);
    if (argc != 3 || argv[1][0] == '-') {
        std::cerr << usage;
        return 2;
    }
    return MakeIcon(argv[1], argv[2]);
}

// Building a rules data image from categories of entries, compressing it into
// the data resource, and reading both back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/packer/content_source.h"

// The rules a text must keep to enter the image. Each returns an empty string
// for a good text, else what is wrong with it. Texts are Windows-1252.
std::string CheckCategoryName(std::string_view name);
std::string CheckTitle(std::string_view title);
std::string CheckBody(std::string_view body);

// Orders entries by title without regard to case; titles equal but for case
// go by their bytes, and identical titles keep their source order.
void SortEntries(std::vector<SourceEntry>& entries);

// The image: header, names, then per category its table, then title and body
// of each entry, every text padded with zeros to a multiple of 4 bytes.
std::vector<unsigned char> BuildRulesImage(const std::vector<SourceCategory>& categories);

// The data resource: the image's length as 32-bit little-endian, then the
// image compressed by zlib at the default level. Empty if zlib fails.
std::vector<unsigned char> CompressRulesImage(const std::vector<unsigned char>& image);

// Inflates and checks a data resource the way the programs do.
bool ExpandRulesResource(const std::vector<unsigned char>& resource,
                         std::vector<unsigned char>& image, std::string& error);

// The categories and entries of a well-formed image.
std::vector<SourceCategory> ReadRulesImage(const std::vector<unsigned char>& image);

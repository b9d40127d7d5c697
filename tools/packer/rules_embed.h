// Putting a packed rules resource into a copy of a built program, and taking
// it out again: resource 114 of type "DATAFILES", English (United States).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Checks the data resource as the programs do, then writes a copy of the
// program that carries it in place of its own. Nothing is written before
// every check has passed; OUT is written beside itself under another name
// and renamed at the end, so it appears whole or not at all. False, with a
// one-line reason naming the file at fault, otherwise.
bool EmbedRulesResource(const std::filesystem::path& resourcePath,
                        const std::filesystem::path& programPath,
                        const std::filesystem::path& outPath, std::string& error);

// The same in memory: the program with the resource replaced. The program
// must already carry a rules resource.
bool ReplaceRulesResource(const std::vector<unsigned char>& program,
                          const std::vector<unsigned char>& resource,
                          std::vector<unsigned char>& result, std::string& error);

// The rules resource a program carries.
bool ExtractRulesResource(const std::vector<unsigned char>& program,
                          std::vector<unsigned char>& resource, std::string& error);

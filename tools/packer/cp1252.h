// Conversion between UTF-8 (the content sources) and Windows-1252 (the image).
#pragma once

#include <string>
#include <string_view>

// Converts UTF-8 text to Windows-1252. On failure returns false and describes
// the first character that is malformed or has no Windows-1252 form.
bool ConvertUtf8ToCp1252(std::string_view utf8, std::string& cp1252, std::string& error);

// The same, putting substitute in place of each character that Windows-1252
// lacks; false only when the text is not well-formed UTF-8.
bool ConvertUtf8ToCp1252Substituting(std::string_view utf8, char substitute, std::string& cp1252);

// Converts Windows-1252 text to UTF-8. Fails on the five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D).
bool ConvertCp1252ToUtf8(std::string_view cp1252, std::string& utf8, std::string& error);

// The character a Windows-1252 byte stands for; 0 for the five bytes the code
// page leaves undefined.
char32_t Cp1252CodePoint(unsigned char byte);

// Appends the UTF-8 form of a character of the Basic Multilingual Plane (every
// Windows-1252 character and U+FFFD).
void AppendUtf8(std::string& out, char32_t c);

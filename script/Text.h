// Texts of the language are sequences of 16-bit code units, compared exactly.
#pragma once

#include <string>
#include <string_view>

namespace numbrelle {

using Text = std::u16string;
using TextView = std::u16string_view;

// Whether text holds c; memchr does the scanning, which is many times faster
// than a loop over 16-bit units on long texts.
bool contains(TextView text, char16_t c);

// ASCII capitals A to Z become small letters; every other character stays.
// Keywords and names are folded with it, one character at a time.
inline char16_t LowerLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// The form in which names are compared: LowerLetter on every character.
Text FoldName(TextView name);

// ASCII-only helpers for texts known to hold ASCII (numbers, keywords).
Text asciiText(std::string_view ascii);
std::string utf8(TextView text);
Text fromUtf8(std::string_view utf8);

} // namespace numbrelle

#include "script/Text.h"

#include <cstring>

namespace numbrelle {

bool contains(TextView text, char16_t c)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size() * sizeof(char16_t);
    const unsigned char low = static_cast<unsigned char>(c & 0xFF);
    std::size_t offset = 0;
    while (offset < size) {
        const void* hit = std::memchr(bytes + offset, low, size - offset);
        if (!hit)
            return false;
        const std::size_t at = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - bytes);
        if (at % sizeof(char16_t) == 0 && text[at / sizeof(char16_t)] == c)
            return true;
        offset = at + 1;
    }
    return false;
}

Text FoldName(TextView name)
{
    Text folded(name);
    for (char16_t& c : folded)
        c = LowerLetter(c);
    return folded;
}

Text asciiText(std::string_view ascii) { return Text(ascii.begin(), ascii.end()); }

std::string utf8(TextView text)
{
    // No 16-bit unit takes more than three bytes (a pair takes four for two),
    // so the text is written into room for that and cut to what it took.
    std::string out(text.size() * 3, '\0');
    std::size_t n = 0;
    const auto put = [&](char32_t byte) { out[n++] = static_cast<char>(byte); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c < 0x80) {
            put(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            // A lone surrogate has no UTF-8 form; show it as the replacement character.
            c = 0xFFFD;
        }
        if (c < 0x800) {
            put(0xC0 | (c >> 6));
            put(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            put(0xE0 | (c >> 12));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        } else {
            put(0xF0 | (c >> 18));
            put(0x80 | ((c >> 12) & 0x3F));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        }
    }
    out.resize(n);
    return out;
}

Text fromUtf8(std::string_view in)
{
    Text out;
    out.reserve(in.size());
    std::size_t i = 0;
    while (i < in.size()) {
        const unsigned char b = static_cast<unsigned char>(in[i]);
        char32_t c = 0xFFFD;
        std::size_t length = 1;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            length = 2;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
        }
        if (length > 1) {
            if (i + length > in.size()) {
                length = 1;
            } else {
                c = b & (0x7F >> length);
                for (std::size_t k = 1; k < length; ++k) {
                    const unsigned char next = static_cast<unsigned char>(in[i + k]);
                    if ((next & 0xC0) != 0x80) {
                        c = 0xFFFD;
                        length = 1;
                        break;
                    }
                    c = (c << 6) | (next & 0x3F);
                }
            }
        }
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c > 0x10FFFF ? 0xFFFD : c);
        }
        i += length;
    }
    return out;
}

} // namespace numbrelle

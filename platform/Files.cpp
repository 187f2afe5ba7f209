#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace numbrelle {

namespace {

constexpr char16_t replacementCharacter = u'\uFFFD';

class Converter {
public:
    explicit Converter(const char* from)
        : m_handle(iconv_open("UTF-16LE", from))
    {
    }
    ~Converter()
    {
        if (valid())
            iconv_close(m_handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return m_handle; }

private:
    iconv_t m_handle;
};

void appendUtf16Le(std::u16string& out, const char* bytes, std::size_t count)
{
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        auto low = static_cast<unsigned char>(bytes[i]);
        auto high = static_cast<unsigned char>(bytes[i + 1]);
        out.push_back(static_cast<char16_t>(low | (high << 8)));
    }
}

enum class OnInvalid { Replace, GiveUp };

// The bytes in the encoding `from` as UTF-16. An invalid unit (a byte, or two
// for UTF-16), or one cut off by the end, is lost alone: it becomes U+FFFD
// and whatever follows is decoded afresh. With GiveUp, the first one ends the
// decoding with nothing.
std::optional<std::u16string> decode(std::string_view bytes, const char* from, std::size_t unit, OnInvalid onInvalid)
{
    std::u16string out;
    Converter converter(from);
    if (!converter.valid()) {
        // Without the converter only ASCII can be trusted.
        for (unsigned char c : bytes)
            out.push_back(c < 0x80 ? c : replacementCharacter);
        return out;
    }
    out.reserve(bytes.size());

    // iconv does not write through a const pointer; it only reads the input.
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t result = iconv(converter.handle(), &in, &inLeft, &outPtr, &outLeft);
        appendUtf16Le(out, buffer, sizeof buffer - outLeft);
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        if (onInvalid == OnInvalid::GiveUp)
            return std::nullopt;
        out.push_back(replacementCharacter);
        std::size_t skipped = std::min(unit, inLeft);
        in += skipped;
        inLeft -= skipped;
    }
    return out;
}

bool startsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

// A lead byte E0..EF opens a three-byte sequence in valid UTF-8; without one
// the file cannot be taken for UTF-8, and most code page 932 files stop here.
bool mayHoldThreeByteSequence(std::string_view bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte >= 0xE0 && byte <= 0xEF;
    });
}

std::u16string joinLines(const std::u16string& text)
{
    std::u16string joined;
    joined.reserve(text.size());
    bool lineOpen = false; // the last line ended with a break not yet written
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (lineOpen) {
            joined += u"\r\n";
            lineOpen = false;
        }
        if (text[i] != u'\r') {
            joined.push_back(text[i]);
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        lineOpen = true;
    }
    // A break at the very end closes the last line and starts no new one.
    return joined;
}

} // namespace

std::string EncodeCp932(std::string_view utf8)
{
    iconv_t convert = iconv_open("CP932", "UTF-8");
    if (convert == reinterpret_cast<iconv_t>(-1))
        return {};
    std::string in(utf8);
    std::string out(in.size() * 2 + 4, '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t fromLeft = in.size();
    std::size_t toLeft = out.size();
    while (fromLeft > 0 && iconv(convert, &from, &fromLeft, &to, &toLeft) == static_cast<std::size_t>(-1)) {
        if (errno != EILSEQ || fromLeft == 0)
            break;
        // Skip the character that has no code page 932 form.
        do {
            ++from;
            --fromLeft;
        } while (fromLeft > 0 && (static_cast<unsigned char>(*from) & 0xC0) == 0x80);
    }
    iconv_close(convert);
    out.resize(out.size() - toLeft);
    return out;
}

// glibc's "CP932" is the Windows code page: 0x5C is the backslash and 0x7E
// the tilde, as question files written on Windows mean them.
std::u16string DecodeCp932(std::string_view bytes) { return *decode(bytes, "CP932", 1, OnInvalid::Replace); }

std::string_view EncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Cp932: return "CP932";
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Utf8WithMark: return "UTF-8 BOM";
    case TextEncoding::Utf16Le: return "UTF-16LE";
    case TextEncoding::Utf16Be: return "UTF-16BE";
    }
    return "CP932";
}

DecodedText DecodeQuestionBytes(std::string_view bytes)
{
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        return { *decode(bytes.substr(3), "UTF-8", 1, OnInvalid::Replace), TextEncoding::Utf8WithMark };
    if (startsWith(bytes, "\xFF\xFE"))
        return { *decode(bytes.substr(2), "UTF-16LE", 2, OnInvalid::Replace), TextEncoding::Utf16Le };
    if (startsWith(bytes, "\xFE\xFF"))
        return { *decode(bytes.substr(2), "UTF-16BE", 2, OnInvalid::Replace), TextEncoding::Utf16Be };
    if (mayHoldThreeByteSequence(bytes)) {
        if (std::optional<std::u16string> text = decode(bytes, "UTF-8", 1, OnInvalid::GiveUp))
            return { std::move(*text), TextEncoding::Utf8 };
    }
    return { DecodeCp932(bytes), TextEncoding::Cp932 };
}

std::optional<DecodedText> ReadQuestionText(FileSystem& files, const std::string& path)
{
    std::optional<std::string> bytes = files.readBytes(path);
    if (!bytes)
        return std::nullopt;
    // CR and LF are never part of a multi-byte character in any of the
    // encodings, so the lines can be found after decoding.
    DecodedText decoded = DecodeQuestionBytes(*bytes);
    decoded.text = joinLines(decoded.text);
    return decoded;
}

std::u16string ReadQuestionFile(FileSystem& files, const std::string& path)
{
    std::optional<DecodedText> read = ReadQuestionText(files, path);
    return read ? std::move(read->text) : std::u16string();
}

} // namespace numbrelle

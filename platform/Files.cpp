#include "platform/Files.h"

#include <cerrno>
#include <iconv.h>

namespace numbrelle {

namespace {

constexpr char16_t replacementCharacter = u'\uFFFD';

class Converter {
public:
    // glibc's "CP932" is the Windows code page: 0x5C is the backslash and 0x7E
    // the tilde, as question files written on Windows mean them.
    Converter()
        : m_handle(iconv_open("UTF-16LE", "CP932"))
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

std::u16string DecodeCp932(std::string_view bytes)
{
    std::u16string out;
    Converter converter;
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
        // An invalid byte, or a lead byte cut off by the end of the file: that
        // one byte is lost and whatever follows is decoded afresh.
        out.push_back(replacementCharacter);
        ++in;
        --inLeft;
    }
    return out;
}

std::u16string ReadQuestionFile(FileSystem& files, const std::string& path)
{
    std::optional<std::string> bytes = files.readBytes(path);
    if (!bytes)
        return {};
    // CR and LF are never part of a two-byte character, so the lines can be
    // found after decoding.
    std::u16string text = DecodeCp932(*bytes);
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

} // namespace numbrelle

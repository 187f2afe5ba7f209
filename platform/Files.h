// Files as the program sees them: its own folder, the question files in a
// folder, and a file's bytes. Question files are code page 932 text unless
// they say otherwise (a byte-order mark) or can only be UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace numbrelle {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The folder that holds the program file.
    virtual std::string programFolder() = 0;
    // Names of the regular files directly in folder, sorted by name without
    // regard to case, hidden files left out. Empty when the folder is missing.
    virtual std::vector<std::string> listFiles(const std::string& folder) = 0;
    // The whole file; nothing when it cannot be read.
    virtual std::optional<std::string> readBytes(const std::string& path) = 0;
};

// Decodes code page 932; an undecodable byte becomes U+FFFD and decoding goes on.
std::u16string DecodeCp932(std::string_view bytes);
// UTF-8 text as code page 932 bytes, the way question files are stored; a
// character code page 932 lacks is left out. For writing question files.
std::string EncodeCp932(std::string_view utf8);

// The encodings a question file may be written in.
enum class TextEncoding {
    Cp932,
    Utf8, // recognised without a mark
    Utf8WithMark,
    Utf16Le,
    Utf16Be,
};

// "CP932", "UTF-8", "UTF-8 BOM", "UTF-16LE" or "UTF-16BE": what authors see
// in the check and what --json carries.
std::string_view EncodingName(TextEncoding encoding);

struct DecodedText {
    std::u16string text;
    TextEncoding encoding = TextEncoding::Cp932;
};

// A question file's bytes as text, lines not yet joined. UTF-8 or UTF-16 (LE
// or BE) when the bytes start with that byte-order mark, which is not part of
// the text; else UTF-8 when the whole file is valid UTF-8 and holds at least
// one three-byte sequence, as Japanese text always does and code page 932
// text practically never is; else code page 932. An undecodable byte (a unit
// of two in UTF-16) becomes U+FFFD and decoding goes on.
DecodedText DecodeQuestionBytes(std::string_view bytes);

// A question file as one text: decoded as above; lines end at CR LF or a lone
// CR (a lone LF stays inside its line) and are joined with CR LF, none after
// the last. Nothing when the file cannot be read. Files are only ever read.
std::optional<DecodedText> ReadQuestionText(FileSystem& files, const std::string& path);

// The same text as the program takes it: a file that cannot be read is an
// empty text.
std::u16string ReadQuestionFile(FileSystem& files, const std::string& path);

} // namespace numbrelle

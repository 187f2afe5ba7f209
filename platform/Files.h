// Files as the program sees them: its own folder, the question files in a
// folder, and a file's bytes. Question files are code page 932 text.
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

// A question file as one text: lines end at CR LF or a lone CR (a lone LF stays
// inside its line) and are joined with CR LF, none after the last. A file that
// cannot be read is an empty text.
std::u16string ReadQuestionFile(FileSystem& files, const std::string& path);

} // namespace numbrelle

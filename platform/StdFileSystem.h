// Files as the system keeps them. Names are byte strings in whatever encoding
// the folder uses; nothing here blocks on special files or follows link loops.
#pragma once

#include "platform/Files.h"

#include <cstddef>

namespace numbrelle {

class StdFileSystem final : public FileSystem {
public:
    // A question file this large is certainly not one; reading it would only
    // exhaust memory, so it counts as unreadable.
    static constexpr std::size_t maxFileBytes = std::size_t { 16 } * 1024 * 1024;

    std::string programFolder() override;
    std::vector<std::string> listFiles(const std::string& folder) override;
    std::optional<std::string> readBytes(const std::string& path) override;
};

// Orders names as the file list does: ASCII letters without regard to case,
// names equal that way by their bytes, so the order never depends on the
// order the folder happens to return them in.
bool FileNameLess(const std::string& a, const std::string& b);

} // namespace numbrelle

// Files as the system keeps them. Names are byte strings in whatever encoding
// the folder uses; nothing here blocks on special files or follows link loops.
#pragma once

#include "platform/Files.h"

#include <cstddef>

namespace numbrelle {

class StdFileSystem final : public FileSystem {
public:
    // A file larger than maxFileBytes counts as unreadable: how large a file
    // the program accepts is its own rule, handed in by whoever builds this.
    explicit StdFileSystem(std::size_t maxFileBytes)
        : m_maxFileBytes(maxFileBytes)
    {
    }

    std::string programFolder() override;
    std::vector<std::string> listFiles(const std::string& folder) override;
    std::optional<std::string> readBytes(const std::string& path) override;

private:
    std::size_t m_maxFileBytes;
};

// Orders names as the file list does: ASCII letters without regard to case,
// names equal that way by their bytes, so the order never depends on the
// order the folder happens to return them in.
bool FileNameLess(const std::string& a, const std::string& b);

} // namespace numbrelle

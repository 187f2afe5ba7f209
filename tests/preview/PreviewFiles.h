// A scratch folder for the preview's tests, and question files written into
// it as an editor would write them.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace numbrelle::preview {

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "numbrelle-preview-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~ScratchFolder() { std::filesystem::remove_all(m_path); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path(const std::string& name) const { return (m_path / name).string(); }

    // Writes the file in place, as an editor that overwrites does.
    std::string write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    // Writes a new file beside it and renames it over the old one, as editors
    // that save safely do: the old file's watch is lost on the way.
    std::string saveByRename(const std::string& name, const std::string& bytes) const
    {
        write(name + ".swp", bytes);
        std::filesystem::rename(path(name + ".swp"), path(name));
        return path(name);
    }

private:
    std::filesystem::path m_path;
};

} // namespace numbrelle::preview

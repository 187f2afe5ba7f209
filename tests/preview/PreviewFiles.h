// A scratch folder for the preview's tests, and question files written into
// it as an editor would write them.
#pragma once

#include "platform/Recording.h"
#include "script/Limits.h"

#include <filesystem>
#include <string>

namespace numbrelle::preview {

// The questions folder of a fresh temporary program folder.
class ScratchFolder {
public:
    std::string path(const std::string& name) const { return m_files.questionsFolder() + "/" + name; }

    // Writes the file in place, as an editor that overwrites does.
    std::string write(const std::string& name, const std::string& bytes) const
    {
        return m_files.addQuestionBytes(name, bytes);
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
    FolderFileSystem m_files { maxQuestionFileBytes };
};

} // namespace numbrelle::preview

// A question file as the preview shows it: read afresh as the program reads
// it, told apart from what is no question file at all, and run with one seed
// through the runner's engine, so that seed S here is run S of --check.
#pragma once

#include "platform/Files.h"
#include "script/Text.h"
#include "tools/Engine.h"

#include <cstdint>
#include <string>
#include <vector>

namespace numbrelle::preview {

enum class FileState { Question, Missing, Unreadable, NotAQuestionFile };

struct LoadedFile {
    std::string path;
    FileState state = FileState::Missing;
    Text text; // the file's text when it could be read
    TextEncoding encoding = TextEncoding::Cp932;
};

// Reads path. A file that reads but holds no statement of the language (an
// image opened by mistake, an empty new file) is no question file.
LoadedFile LoadQuestionFile(const std::string& path);

// Why a file that is not a question cannot be shown, as one sentence for the
// author; empty for a question file.
Text FileStateMessage(const LoadedFile& file);

struct PreviewRun {
    std::uint32_t seed = 1;
    runner::RunReport report;
};

// One run of the file's text, the random generator seeded with seed first.
PreviewRun RunSeed(const LoadedFile& file, std::uint32_t seed);

// The display name the file gets in the list when its folder is the
// questions folder: its place in the folder's file list, "_" and the title.
Text DisplayName(const std::string& path, TextView title);

} // namespace numbrelle::preview

#include "tools/preview/PreviewRun.h"

#include "drill/QuestionLibrary.h"
#include "platform/Recording.h"
#include "platform/StdFileSystem.h"
#include "platform/StdRandom.h"
#include "script/Interpreter.h"
#include "script/Limits.h"

#include <filesystem>
#include <system_error>

namespace numbrelle::preview {

namespace {

bool holdsAStatement(const Text& text)
{
    RecordingMessageBox boxes;
    ScriptedRandom random;
    Interpreter interpreter(boxes, random);
    interpreter.BuildStatementList(text);
    for (const Statement& statement : interpreter.statementList().entries) {
        if (statement.compiled.handler)
            return true;
    }
    return false;
}

} // namespace

LoadedFile LoadQuestionFile(const std::string& path)
{
    LoadedFile file;
    file.path = path;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        file.state = FileState::Missing;
        return file;
    }
    StdFileSystem files { maxQuestionFileBytes };
    std::optional<DecodedText> read = ReadQuestionText(files, path);
    if (!read) {
        file.state = FileState::Unreadable;
        return file;
    }
    file.text = std::move(read->text);
    file.encoding = read->encoding;
    file.state = holdsAStatement(file.text) ? FileState::Question : FileState::NotAQuestionFile;
    return file;
}

Text FileStateMessage(const LoadedFile& file)
{
    switch (file.state) {
    case FileState::Question: return {};
    case FileState::Missing:
        return u"ファイルが見つかりません。消されたか、名前が変わりました。元の名前で保存し直すと、また表示します。";
    case FileState::Unreadable:
        return u"ファイルを読めません。フォルダでないか、読む権限があるか、大きすぎないか（16 MB "
               u"まで）を確かめてください。";
    case FileState::NotAQuestionFile:
        return u"問題ファイルではありません。Numbrelle の命令（title(…); など）が一つもありません。";
    }
    return {};
}

PreviewRun RunSeed(const LoadedFile& file, std::uint32_t seed)
{
    PreviewRun run;
    run.seed = seed;
    StdRandom random;
    runner::RunHooks hooks;
    hooks.beforeRun = [&](int) { random.seed(seed); };
    runner::runQuestion(
        file.path, file.text, 1, random, [&](const runner::RunReport& report) { run.report = report; }, hooks);
    return run;
}

Text DisplayName(const std::string& path, TextView title)
{
    const std::filesystem::path file(path);
    StdFileSystem files { maxQuestionFileBytes };
    const std::vector<std::string> names
        = files.listFiles(file.has_parent_path() ? file.parent_path().string() : std::string("."));
    std::size_t index = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == file.filename().string())
            index = i;
    }
    return DisplayNameOf(index, title);
}

} // namespace numbrelle::preview

// Stand-ins for the services the window is handed, beside the shared recording
// ones: a question folder on disk, a tiny line-based question script, and
// display settings that record what they are asked.
#pragma once

#include "drill/QuestionScript.h"
#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/DisplaySettings.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "platform/Recording.h"
#include "platform/StdFileSystem.h"

#include <QTemporaryDir>

#include <functional>
#include <string>
#include <vector>

namespace numbrelle::testing {

// The program's own file system with the program folder moved to a fresh
// temporary folder, whose "questions" folder the test fills.
class FolderFileSystem final : public FileSystem {
public:
    FolderFileSystem();
    // Writes the file in code page 932, as a teacher's editor does.
    void addQuestion(const std::string& name, const std::string& utf8);
    void removeQuestionsFolder();

    std::string programFolder() override;
    std::vector<std::string> listFiles(const std::string& folder) override;
    std::optional<std::string> readBytes(const std::string& path) override;

private:
    QTemporaryDir m_dir;
    StdFileSystem m_files;
};

// Runs question files written one statement a line as key=value: title,
// category, description, question, answer (appended with "_" between),
// draw=kind,x1,y1,x2,y2,text,red,green,blue, and msgbox. "{n}" in a question
// stands for the number of the run, so that each question differs.
class LineScript final : public QuestionScript {
public:
    explicit LineScript(MessageBox& messages)
        : m_messages(messages)
    {
    }
    void BuildStatementList(TextView script) override;
    void RunScript() override;
    const QuestionRecord& record() const override { return m_record; }

    int builds = 0;
    int runs = 0;

private:
    MessageBox& m_messages;
    std::vector<std::pair<std::string, std::u16string>> m_lines;
    QuestionRecord m_record;
};

// Records each text, and lets a test look at the window while the box is up.
class WatchingMessageBox final : public MessageBox {
public:
    void show(const std::u16string& text) override
    {
        texts.push_back(text);
        if (whileShown)
            whileShown();
    }

    std::vector<std::u16string> texts;
    std::function<void()> whileShown;
};

class RecordingDisplay final : public DisplaySettings {
public:
    bool enumMode(int number, DisplayModeInfo& mode) override;
    bool changeMode(int number) override
    {
        changes.push_back(number);
        return true;
    }
    void restore() override { ++restores; }

    std::vector<DisplayModeInfo> modes;
    std::vector<int> asked;
    std::vector<int> changes;
    int restores = 0;
};

std::string utf8Of(const std::u16string& text);

} // namespace numbrelle::testing

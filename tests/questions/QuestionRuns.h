// Runs the bundled question files the way the program does: the file read and
// decoded by the platform, one statement list, then one run per question with a
// seeded generator, and every message box recorded instead of shown.
#pragma once

#include "drill/Drill.h"
#include "platform/Files.h"
#include "platform/StdFileSystem.h"
#include "platform/StdRandom.h"
#include "script/Limits.h"
#include "script/Text.h"
#include "tests/support/ScriptRun.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace numbrelle::questions {

inline constexpr int runsPerFile = 500;
inline constexpr std::uint32_t fixedSeed = 20261208;

inline std::filesystem::path questionFolder() { return NUMBRELLE_QUESTIONS_DIR; }

// File names in the order the program lists them.
inline std::vector<std::string> bundledFileNames()
{
    StdFileSystem files { maxQuestionFileBytes };
    return files.listFiles(questionFolder().string());
}

// One question as the drill sees it, in UTF-8 for easy matching; the question's
// CR LF line breaks are turned into "\n".
struct QuestionRun {
    std::string title;
    std::string category;
    std::string description;
    std::string question;
    std::string answerText;
    std::vector<std::string> answers; // answerText cut at every "_"
    DrawingList drawing;
    std::vector<std::string> boxes; // errors and msgbox texts of this run
};

// The accepted answers as the drill cuts them, in UTF-8.
inline std::vector<std::string> splitAnswers(TextView answerText)
{
    std::vector<std::string> pieces;
    for (TextView answer : AcceptedAnswers(answerText))
        pieces.push_back(utf8(answer));
    return pieces;
}

inline std::string withoutCarriageReturns(std::string text)
{
    std::erase(text, '\r');
    return text;
}

class QuestionFile {
public:
    explicit QuestionFile(const std::string& name, std::uint32_t seed = fixedSeed)
    {
        StdFileSystem files { maxQuestionFileBytes };
        m_text = ReadQuestionFile(files, (questionFolder() / name).string());
        m_random.seed(seed);
        m_run.build(m_text);
    }

    const Text& text() const { return m_text; }

    QuestionRun run()
    {
        const QuestionRecord& record = m_run.runOnce();
        QuestionRun run;
        run.title = utf8(record.title);
        run.category = utf8(record.categoryText);
        run.description = utf8(record.descriptionText);
        run.question = withoutCarriageReturns(utf8(record.questionText));
        run.answerText = utf8(record.answerText);
        run.answers = splitAnswers(record.answerText);
        run.drawing = record.drawingList;
        run.boxes = m_run.boxes();
        return run;
    }

private:
    Text m_text;
    StdRandom m_random;
    testing::ScriptRun m_run { m_random };
};

inline bool accepts(const QuestionRun& run, const std::string& answer)
{
    return std::find(run.answers.begin(), run.answers.end(), answer) != run.answers.end();
}

} // namespace numbrelle::questions

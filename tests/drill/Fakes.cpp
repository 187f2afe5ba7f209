#include "Fakes.h"

#include <QString>

#include <filesystem>
#include <fstream>

namespace numbrelle::testing {

namespace fs = std::filesystem;

FolderFileSystem::FolderFileSystem() { fs::create_directories(fs::path(programFolder()) / "questions"); }

void FolderFileSystem::addQuestion(const std::string& name, const std::string& utf8)
{
    std::ofstream(fs::path(programFolder()) / "questions" / name, std::ios::binary) << EncodeCp932(utf8);
}

void FolderFileSystem::removeQuestionsFolder() { fs::remove_all(fs::path(programFolder()) / "questions"); }

std::string FolderFileSystem::programFolder() { return m_dir.path().toStdString(); }

std::vector<std::string> FolderFileSystem::listFiles(const std::string& folder) { return m_files.listFiles(folder); }

std::optional<std::string> FolderFileSystem::readBytes(const std::string& path) { return m_files.readBytes(path); }

void LineScript::BuildStatementList(TextView script)
{
    ++builds;
    m_lines.clear();
    const QStringList lines = QString::fromStdU16String(Text(script)).split(QStringLiteral("\r\n"));
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            m_lines.emplace_back(line.left(equals).toStdString(), line.mid(equals + 1).toStdU16String());
    }
}

void LineScript::RunScript()
{
    ++runs;
    m_record = QuestionRecord {};
    for (const auto& [key, value] : m_lines) {
        if (key == "title")
            m_record.title += value;
        else if (key == "category")
            m_record.categoryText += value;
        else if (key == "description")
            m_record.descriptionText += value;
        else if (key == "question")
            m_record.questionText += QString::fromStdU16String(value)
                                         .replace(QStringLiteral("{n}"), QString::number(runs))
                                         .toStdU16String();
        else if (key == "answer")
            m_record.answerText += (m_record.answerText.empty() ? Text() : Text(u"_")) + value;
        else if (key == "msgbox")
            m_messages.show(value);
        else if (key == "draw") {
            const QStringList f = QString::fromStdU16String(value).split(u',');
            DrawingCommand c;
            c.kind = static_cast<DrawingKind>(f.value(0).toShort());
            c.x1 = f.value(1).toShort();
            c.y1 = f.value(2).toShort();
            c.x2 = f.value(3).toShort();
            c.y2 = f.value(4).toShort();
            c.text = f.value(5).toStdU16String();
            c.red = f.value(6).toShort();
            c.green = f.value(7).toShort();
            c.blue = f.value(8).toShort();
            m_record.drawingList.entries.push_back(c);
        }
    }
}

bool RecordingDisplay::enumMode(int number, DisplayModeInfo& mode)
{
    asked.push_back(number);
    if (number < 0 || number >= static_cast<int>(modes.size()))
        return false;
    mode = modes[number];
    return true;
}

std::string utf8Of(const std::u16string& text) { return QString::fromStdU16String(text).toStdString(); }

} // namespace numbrelle::testing

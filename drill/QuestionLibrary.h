// The question library: one entry per file of the questions folder, with the
// name, category and description that the file's script produced when it was
// run once at loading. It feeds the category and question-type lists.
#pragma once

#include "script/Text.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace numbrelle {

class FileSystem;
class QuestionScript;

// The item of the category list that stands for every entry.
inline constexpr char16_t allCategories[] = u"全て";
// The description shown when the folder holds no question file; %1 is the folder.
inline constexpr char16_t noQuestionFiles[] = u"問題ファイルが「%1」フォルダーに見つかりません。";

struct QuestionEntry {
    std::string Path;
    Text Category;
    Text DisplayName; // "<n>_<title>", n counting from 1: unique
    Text Description;
};

// The folder the library is read from: "questions" beside the program file.
std::string QuestionFolder(FileSystem& files);

// "<n>_<title>" for the entry at index (n = index + 1).
Text DisplayNameOf(std::size_t index, TextView title);

class QuestionLibrary {
public:
    // Called after each file with its index and the number of files; loading
    // stops when it answers false.
    using AfterFile = std::function<bool(std::size_t index, std::size_t count)>;

    // Loads the questions folder: one entry per file, in the order the folder
    // lists them, each file read and run once.
    void Load(FileSystem& files, QuestionScript& script, const AfterFile& afterFile = {});

    // Makes count empty entries; loading fills them one by one.
    void create(std::size_t count);
    // Reads and runs the file once and fills entry index from the run's record.
    void LoadQuestionFile(std::size_t index, const std::string& path, FileSystem& files, QuestionScript& script);

    const std::vector<QuestionEntry>& entries() const { return m_entries; }

    // The category list: "全て" and then each distinct category of the
    // entries loaded so far, in order of first occurrence, compared exactly
    // ("Add" and "add" are two; a category "全て" adds nothing).
    std::vector<Text> categories() const;
    // The display names of a category in library order; all of them for "全て".
    std::vector<Text> displayNames(TextView category) const;
    // The description of the entry with that display name; empty when none.
    Text FindDescription(TextView displayName) const;
    // The first entry with that display name, or null.
    const QuestionEntry* entryNamed(TextView displayName) const;

private:
    std::vector<QuestionEntry> m_entries;
    std::size_t m_loaded = 0; // the entries before it are loaded; loading goes in order
};

} // namespace numbrelle

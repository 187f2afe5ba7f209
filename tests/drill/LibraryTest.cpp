// The question library: entries numbered in file order, categories in order of
// first occurrence, and the lists and descriptions drawn from them.
#include "drill/QuestionLibrary.h"
#include "platform/Recording.h"
#include "script/Limits.h"
#include "tests/support/LineScript.h"

#include <gtest/gtest.h>

namespace numbrelle {
namespace {

using namespace testing;

struct Loaded {
    FolderFileSystem files { maxQuestionFileBytes };
    RecordingMessageBox messages;
    LineScript script { messages };
    QuestionLibrary library;

    void load() { library.Load(files, script); }
};

std::string question(const std::string& title, const std::string& category, const std::string& description = "")
{
    return "title=" + title + "\r\ncategory=" + category + "\r\ndescription=" + description;
}

TEST(QuestionLibrary, NumbersEntriesInFileOrder)
{
    Loaded l;
    l.files.addQuestion("gamma", question("G", "c"));
    l.files.addQuestion("alpha", question("A", "c"));
    l.files.addQuestion("Beta", question("B", "c"));
    for (int i = 0; i < 8; ++i)
        l.files.addQuestion("z" + std::to_string(i), question("Z", "c"));
    l.load();
    ASSERT_EQ(l.library.entries().size(), 11u);
    EXPECT_EQ(l.library.entries()[0].DisplayName, u"1_A");
    EXPECT_EQ(l.library.entries()[1].DisplayName, u"2_B");
    EXPECT_EQ(l.library.entries()[2].DisplayName, u"3_G");
    EXPECT_EQ(l.library.entries()[10].DisplayName, u"11_Z");
    EXPECT_EQ(l.library.entries()[0].Path, l.files.programFolder() + "/questions/alpha");
    EXPECT_EQ(l.script.runs, 11); // each file runs once
}

TEST(QuestionLibrary, CategoriesAndLists)
{
    Loaded l;
    l.files.addQuestion("1", question("A", "add", "da"));
    l.files.addQuestion("2", question("B", "sub", "db"));
    l.files.addQuestion("3", question("C", "add", "dc"));
    l.files.addQuestion("4", question("D", "", "dd"));
    l.files.addQuestion("5", question("E", "全て", "de"));
    l.files.addQuestion("6", question("F", "Add", "df"));
    l.load();

    const std::vector<Text> categories { u"全て", u"add", u"sub", u"", u"Add" };
    EXPECT_EQ(l.library.categories(), categories);
    EXPECT_EQ(l.library.displayNames(u"add"), (std::vector<Text> { u"1_A", u"3_C" }));
    EXPECT_EQ(l.library.displayNames(u""), (std::vector<Text> { u"4_D" }));
    EXPECT_EQ(l.library.displayNames(u"全て").size(), 6u);
    EXPECT_EQ(l.library.displayNames(u"none"), std::vector<Text> {});
    EXPECT_EQ(l.library.FindDescription(u"3_C"), u"dc");
    EXPECT_EQ(l.library.FindDescription(u"3_"), u"");
    EXPECT_EQ(l.library.entryNamed(u"2_B"), &l.library.entries()[1]);
}

// The window fills its category list as each file loads, from the entries
// loaded so far; an entry not yet loaded adds no empty category.
TEST(QuestionLibrary, CategoriesGrowAsFilesLoadAndLoadingCanStop)
{
    Loaded l;
    l.files.addQuestion("1", question("A", "add"));
    l.files.addQuestion("2", question("B", "add"));
    l.files.addQuestion("3", question("C", "sub"));
    l.files.addQuestion("4", question("D", ""));
    const std::vector<std::vector<Text>> expected { { u"全て", u"add" }, { u"全て", u"add" },
        { u"全て", u"add", u"sub" } };
    std::vector<std::vector<Text>> seen;
    l.library.Load(l.files, l.script, [&](std::size_t index, std::size_t count) {
        EXPECT_EQ(count, 4u);
        EXPECT_EQ(index, seen.size());
        seen.push_back(l.library.categories());
        return index < 2; // as if the window closed after the third file
    });
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(l.script.runs, 3);
    EXPECT_EQ(l.library.entries().size(), 4u);
    EXPECT_TRUE(l.library.entries()[3].Path.empty()); // never read
}

TEST(QuestionLibrary, FileWithoutScriptTextsIsListedByNumber)
{
    Loaded l;
    l.files.addQuestion("empty", "");
    l.files.addQuestion("note.txt", "just a note");
    l.load();
    ASSERT_EQ(l.library.entries().size(), 2u);
    EXPECT_EQ(l.library.entries()[0].DisplayName, u"1_");
    EXPECT_EQ(l.library.entries()[1].DisplayName, u"2_");
    EXPECT_EQ(l.library.categories(), (std::vector<Text> { u"全て", u"" }));
}

TEST(QuestionLibrary, MissingFolderGivesAnEmptyLibrary)
{
    Loaded l;
    l.files.removeQuestionsFolder();
    l.load();
    EXPECT_TRUE(l.library.entries().empty());
    EXPECT_EQ(l.library.categories(), std::vector<Text> { u"全て" });
    EXPECT_TRUE(l.library.displayNames(u"全て").empty());
}

} // namespace
} // namespace numbrelle

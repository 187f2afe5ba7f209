// Loading a hostile questions folder through the question library, as the
// title screen's Start does: entries that are not files are left out, files
// that cannot be read load as empty texts, and files that run for ever or
// report errors get their numbered entry like any other.
#include "tests/hostile/HostileFolder.h"
#include "tests/hostile/HostileRun.h"

#include "drill/InterpreterScript.h"
#include "drill/QuestionLibrary.h"
#include "platform/StdFileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace numbrelle::hostile {
namespace {

class LibraryLoading : public HostileFolder {
protected:
    QuestionLibrary load()
    {
        QuestionLibrary library;
        library.Load(m_files, m_script);
        return library;
    }

    RecordingMessageBox m_box;
    StdRandom m_random;
    Interpreter m_interpreter { m_box, m_random };
    InterpreterScript m_script { m_interpreter };
};

TEST_F(LibraryLoading, HostileFolderLoadsItsFilesInOrder)
{
    write("a-endless", "title(A);linetext(loops);while(1==2){};");
    write("b-garbage", std::string("\x81\x00\xFF\xFE(){};;\x82", 11));
    write("c-empty", "");
    link("/proc/self/mem", "d-failing-read");
    write("e-semicolons", repeat(";", 40000));
    makeFifo("f-pipe");
    makeSocket("g-socket");
    ASSERT_TRUE(std::filesystem::create_directory(path("h-folder")));
    link("missing", "i-dangling");
    link("j-loop", "j-loop");
    write("Z-last", "title(Z);linetext(loops);");

    const QuestionLibrary library = load();
    EXPECT_EQ(library.displayNames(allCategories), (std::vector<Text> { u"1_A", u"2_", u"3_", u"4_", u"5_", u"6_Z" }));
    EXPECT_EQ(library.categories(), (std::vector<Text> { allCategories, u"loops", u"" }));
    EXPECT_EQ(library.displayNames(u"loops"), (std::vector<Text> { u"1_A", u"6_Z" }));
}

TEST_F(LibraryLoading, EmptyAndMissingFoldersGiveAnEmptyLibrary)
{
    EXPECT_TRUE(load().entries().empty());
    std::filesystem::remove_all(m_folder);
    EXPECT_TRUE(load().entries().empty());
}

} // namespace
} // namespace numbrelle::hostile

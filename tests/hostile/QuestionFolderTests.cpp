// A downloaded questions folder may hold anything: pipes, sockets, folders,
// broken or looping links, files that cannot be read and names in any byte
// encoding. Loading goes through the real file system as the program does it:
// list the folder, then read, build and run each file in turn.
#include "tests/hostile/HostileFolder.h"
#include "tests/hostile/HostileRun.h"

#include "platform/StdFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace numbrelle::hostile {
namespace {

namespace fs = std::filesystem;

class QuestionFolder : public HostileFolder {
protected:
    // Loads every listed file as the library does; the title of each run.
    std::vector<std::string> load(std::vector<std::vector<Text>>* boxesPerFile = nullptr)
    {
        std::vector<std::string> titles;
        for (const std::string& name : m_files.listFiles(m_folder)) {
            StdRandom random;
            testing::ScriptRun run(random);
            titles.push_back(utf8(run.run(ReadQuestionFile(m_files, path(name))).title));
            if (boxesPerFile)
                boxesPerFile->push_back(run.box.texts);
        }
        return titles;
    }
};

TEST_F(QuestionFolder, OnlyFilesAreLoaded)
{
    write("a.txt", "title(A);");
    write("z.txt", "title(Z);");
    write(".hidden", "title(H);");
    makeFifo("b-pipe");
    makeSocket("c-socket");
    ASSERT_TRUE(fs::create_directory(path("d-folder")));
    link("missing", "e-dangling");
    link("f-loop", "f-loop");
    link("g-one", "g-two");
    link("g-two", "g-one");
    link("a.txt", "h-link");
    link("/dev/zero", "i-device");
    link(m_folder, "j-folder-link");

    std::vector<std::vector<Text>> boxes;
    // A link to a file is that file.
    EXPECT_EQ(load(&boxes), (std::vector<std::string> { "A", "A", "Z" }));
    for (const auto& shown : boxes)
        EXPECT_TRUE(shown.empty());
}

// Names are bytes: code page 932, UTF-8, neither, and characters that mean
// something elsewhere. Each is listed, read and run like any other.
TEST_F(QuestionFolder, NamesInAnyEncodingAreLoaded)
{
    const std::vector<std::string> names {
        "\x82\xA0.txt", // code page 932
        "\xE3\x81\x82.txt", // UTF-8
        "\xFF\xFE\x80.txt", // valid in neither
        "new\nline",
        "back\\slash",
        "semi;colon(){}",
        " blank",
    };
    for (std::size_t i = 0; i < names.size(); ++i)
        write(names[i], "title(" + std::to_string(i) + ");");
    std::vector<std::string> titles = load();
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string> { "0", "1", "2", "3", "4", "5", "6" }));
}

// Whatever is not a readable file reads as an empty text at once, even when
// a name is given directly instead of coming from the listing.
TEST_F(QuestionFolder, NonFilesReadAsEmptyWithoutBlocking)
{
    makeFifo("pipe");
    makeSocket("socket");
    ASSERT_TRUE(fs::create_directory(path("folder")));
    link("missing", "dangling");
    link("loop", "loop");
    const std::vector<std::string> paths {
        path("pipe"),
        path("socket"),
        path("folder"),
        path("dangling"),
        path("loop"),
        path("absent"),
        "/dev/zero",
        "/dev/urandom",
        "/dev/null",
    };
    for (const std::string& p : paths) {
        SCOPED_TRACE(p);
        EXPECT_EQ(ReadQuestionFile(m_files, p), u"");
    }
}

// A FIFO with a writer that never writes would block a plain read for ever.
TEST_F(QuestionFolder, PipeWithSilentWriterDoesNotBlock)
{
    makeFifo("pipe");
    const int reader = open(path("pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const int writer = open(path("pipe").c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    EXPECT_EQ(ReadQuestionFile(m_files, path("pipe")), u"");
    close(writer);
    close(reader);
}

// The folder may change between listing and reading.
TEST_F(QuestionFolder, FileReplacedByPipeAfterListing)
{
    write("a.txt", "title(A);");
    write("b.txt", "title(B);");
    const std::vector<std::string> listed = m_files.listFiles(m_folder);
    ASSERT_EQ(listed, (std::vector<std::string> { "a.txt", "b.txt" }));
    fs::remove(path("a.txt"));
    makeFifo("a.txt");
    fs::remove(path("b.txt"));
    EXPECT_EQ(ReadQuestionFile(m_files, path("a.txt")), u"");
    EXPECT_EQ(ReadQuestionFile(m_files, path("b.txt")), u"");
}

// /proc/self/mem is a regular file that answers every read at offset 0 with
// an I/O error: a file that is listed but cannot be read, for every user.
TEST_F(QuestionFolder, FileWhoseReadFailsLoadsAsEmpty)
{
    link("/proc/self/mem", "failing-read");
    write("z.txt", "title(Z);");
    ASSERT_EQ(m_files.listFiles(m_folder), (std::vector<std::string> { "failing-read", "z.txt" }));

    std::vector<std::vector<Text>> boxes;
    EXPECT_EQ(load(&boxes), (std::vector<std::string> { "", "Z" }));
    // An empty text is one empty statement, as an empty file is.
    EXPECT_EQ(boxes.front(), std::vector<Text> { errorBox(messages::unknownStatement, 0, Text(messages::noDate)) });
}

TEST_F(QuestionFolder, FileWithoutReadPermissionLoadsAsEmpty)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root, which reads a file whatever its mode says";
    write("locked", "title(L);");
    ASSERT_EQ(chmod(path("locked").c_str(), 0), 0);
    EXPECT_EQ(load(), (std::vector<std::string> { "" }));
}

} // namespace
} // namespace numbrelle::hostile

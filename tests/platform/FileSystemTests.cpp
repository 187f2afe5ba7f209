// The real file system: which entries of a folder are question files, in what
// order, and reading files that are not plain files without hanging.
#include "platform/Recording.h"
#include "platform/StdFileSystem.h"
#include "script/Limits.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace numbrelle {
namespace {

namespace fs = std::filesystem;

// The questions folder of a fresh temporary program folder.
class TempFolder {
public:
    std::string path(const std::string& name = {}) const
    {
        return name.empty() ? m_files.questionsFolder() : m_files.questionsFolder() + "/" + name;
    }
    void write(const std::string& name, const std::string& bytes) { m_files.addQuestionBytes(name, bytes); }

private:
    FolderFileSystem m_files { maxQuestionFileBytes };
};

void makeSocket(const std::string& path)
{
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);
}

TEST(FileNameLess, Order)
{
    struct Row {
        std::string a, b;
        bool less;
    };
    const Row rows[] = {
        { "alpha", "Beta", true },
        { "Beta", "gamma", true },
        { "B", "a", false },
        { "abc", "ABCD", true }, // a prefix first, whatever the case
        { "ABC", "abc", true }, // equal without case: by bytes, capitals first
        { "abc", "ABC", false },
        { "abc", "abc", false },
        { "a_b", "aZ", true }, // letters compare as small letters
        { "10_x", "9_x", true }, // by character, not by number
        { "z", "\x96\xe2", true }, // bytes above 0x7F after ASCII
        { "\x96\xe2", "\x96\xe3", true },
    };
    for (const Row& row : rows)
        EXPECT_EQ(FileNameLess(row.a, row.b), row.less) << row.a << " < " << row.b;
}

TEST(StdFileSystem, ListsOnlyRegularVisibleFilesInOrder)
{
    TempFolder folder;
    for (const char* name : { "gamma", "Beta", "alpha", "ALPHA", "10_x", "9_x", "\x96\xe2\x91\xe8.txt", "note.TXT" })
        folder.write(name, "x");
    folder.write(".hidden", "x");
    fs::create_directory(folder.path("Folder"));
    folder.write("Folder/inner", "x");
    ASSERT_EQ(mkfifo(folder.path("pipe").c_str(), 0600), 0);
    makeSocket(folder.path("sock"));
    fs::create_symlink(folder.path("nowhere"), folder.path("dangling"));
    fs::create_symlink(folder.path("loop"), folder.path("loop"));
    fs::create_symlink(folder.path("Folder"), folder.path("folderlink"));
    fs::create_symlink(folder.path("gamma"), folder.path("link"));

    StdFileSystem files { maxQuestionFileBytes };
    std::vector<std::string> expected
        = { "10_x", "9_x", "ALPHA", "alpha", "Beta", "gamma", "link", "note.TXT", "\x96\xe2\x91\xe8.txt" };
    EXPECT_EQ(files.listFiles(folder.path()), expected);
}

TEST(StdFileSystem, ListingSomethingElseIsEmpty)
{
    TempFolder folder;
    folder.write("file", "x");
    ASSERT_EQ(mkfifo(folder.path("pipe").c_str(), 0600), 0);
    StdFileSystem files { maxQuestionFileBytes };
    for (const std::string& path : { folder.path("missing"), folder.path("file"), folder.path("pipe"), std::string() })
        EXPECT_TRUE(files.listFiles(path).empty()) << path;
}

TEST(StdFileSystem, ReadsWholeFileBytes)
{
    TempFolder folder;
    std::string bytes("a\0b\r\n\x96\xe2", 7);
    bytes += std::string(200000, 'z'); // more than one read
    folder.write("file", bytes);
    fs::create_symlink(folder.path("file"), folder.path("link"));
    StdFileSystem files { maxQuestionFileBytes };
    EXPECT_EQ(files.readBytes(folder.path("file")), bytes);
    EXPECT_EQ(files.readBytes(folder.path("link")), bytes);
    folder.write("empty", "");
    EXPECT_EQ(files.readBytes(folder.path("empty")), std::string());
}

TEST(StdFileSystem, NonFilesAreUnreadableAndNeverBlock)
{
    TempFolder folder;
    fs::create_directory(folder.path("dir"));
    ASSERT_EQ(mkfifo(folder.path("pipe").c_str(), 0600), 0);
    makeSocket(folder.path("sock"));
    fs::create_symlink(folder.path("nowhere"), folder.path("dangling"));
    fs::create_symlink(folder.path("loop"), folder.path("loop"));
    StdFileSystem files { maxQuestionFileBytes };
    for (const char* name : { "missing", "dir", "pipe", "sock", "dangling", "loop" })
        EXPECT_EQ(files.readBytes(folder.path(name)), std::nullopt) << name;
    EXPECT_EQ(files.readBytes("/dev/zero"), std::nullopt);
}

TEST(StdFileSystem, FileWithoutReadPermissionIsUnreadable)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TempFolder folder;
    folder.write("secret", "x");
    ASSERT_EQ(chmod(folder.path("secret").c_str(), 0), 0);
    StdFileSystem files { maxQuestionFileBytes };
    EXPECT_EQ(files.readBytes(folder.path("secret")), std::nullopt);
}

TEST(StdFileSystem, OversizedFileIsUnreadable)
{
    TempFolder folder;
    // A sparse file: its size counts, not the disk it takes.
    int fd = open(folder.path("huge").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, maxQuestionFileBytes + 1), 0);
    close(fd);
    StdFileSystem files { maxQuestionFileBytes };
    EXPECT_EQ(files.readBytes(folder.path("huge")), std::nullopt);
}

TEST(StdFileSystem, ReadsUpToTheLimitItIsGiven)
{
    TempFolder folder;
    folder.write("four", "1234");
    folder.write("five", "12345");
    StdFileSystem files { 4 };
    EXPECT_EQ(files.readBytes(folder.path("four")), std::string("1234"));
    EXPECT_EQ(files.readBytes(folder.path("five")), std::nullopt);
}

TEST(StdFileSystem, ProgramFolderHoldsTheRunningProgram)
{
    StdFileSystem files { maxQuestionFileBytes };
    std::string folder = files.programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_TRUE(fs::exists(folder + "/numbrelle_platform_tests")) << folder;
}

} // namespace
} // namespace numbrelle

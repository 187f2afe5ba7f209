// --png: images of every run, warnings with the runs that show them, and the
// exit status that lets CI hold a library to no warning at all.
#include "tests/preview/PreviewFiles.h"

#include "tools/preview/Arguments.h"
#include "tools/preview/PngExport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace numbrelle::preview {
namespace {

const std::string clean = "title(Clean);\r\nstrout(Fine);\r\nans(1);\r\nline(0,500,1000,500);\r\nprint(A,100,100);\r\n";
// The label's position is drawn, so only some runs put it on the line.
const std::string planted = "title(Planted);\r\nstrout(Look);\r\nans(1);\r\nint(y);\r\nrandom(y,2,0);\r\n"
                            "=*(y,y,240);\r\nline(0,500,1000,500);\r\nprint(LABEL,100,y);\r\n";

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result writePngs(const ScratchFolder& folder, int runs, std::vector<std::string> files)
{
    std::ostringstream out, err;
    const int status = WritePngs({ folder.path("images"), runs, std::move(files) }, out, err);
    return { status, out.str(), err.str() };
}

TEST(WritePngs, CleanFileWritesItsScreensAndPicturesWithoutAWord)
{
    ScratchFolder folder;
    const Result result = writePngs(folder, 2, { folder.write("clean.txt", clean) });
    EXPECT_EQ(result.status, NoWarning) << result.out << result.err;
    EXPECT_EQ(result.out, "");
    for (const char* name : { "clean-1.png", "clean-2.png", "clean-1-picture.png", "clean-2-picture.png" }) {
        SCOPED_TRACE(name);
        const QImage image(QString::fromStdString(folder.path("images/") + name));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(
            image.size(), std::string(name).find("picture") == std::string::npos ? QSize(640, 480) : QSize(273, 273));
    }
}

TEST(WritePngs, PlantedOverlapIsReportedOnceWithItsRuns)
{
    ScratchFolder folder;
    const std::string file = folder.write("planted.txt", planted);
    const Result result = writePngs(folder, 12, { folder.write("clean.txt", clean), file });
    EXPECT_EQ(result.status, LayoutWarned);
    // One line for the problem however many runs show it.
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 1) << result.out;
    EXPECT_EQ(result.out.rfind(file + ": line 8: label \"LABEL\" touches a line (line 7)  (", 0), 0u) << result.out;
    EXPECT_NE(result.out.find(" of 12 runs, first seed "), std::string::npos) << result.out;
}

TEST(WritePngs, LayoutAloneWarnsAlikeAndWritesNoImage)
{
    ScratchFolder folder;
    const std::string file = folder.write("planted.txt", planted);
    std::ostringstream out, err;
    const Result images = writePngs(folder, 12, { file });
    // An image written anyway would land in the working folder.
    const std::filesystem::path working = std::filesystem::current_path();
    std::filesystem::current_path(folder.path(""));
    const int status = WritePngs({ {}, 12, { file } }, out, err);
    std::filesystem::current_path(working);
    EXPECT_EQ(status, LayoutWarned);
    EXPECT_EQ(out.str(), images.out);
    EXPECT_EQ(err.str(), "");
    std::size_t written = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path("")))
        written += entry.path().extension() == ".png" ? 1 : 0;
    EXPECT_EQ(written, 0u);
}

TEST(WritePngs, FilesThatCannotBeShownFailTheRun)
{
    ScratchFolder folder;
    const Result result = writePngs(
        folder, 1, { folder.path("missing.txt"), folder.write("empty.txt", ""), folder.write("clean.txt", clean) });
    EXPECT_EQ(result.status, PngFailed);
    EXPECT_NE(result.err.find("missing.txt: no such file"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("empty.txt: not a question file"), std::string::npos) << result.err;
    // The others are still written.
    EXPECT_FALSE(QImage(QString::fromStdString(folder.path("images/clean-1.png"))).isNull());
}

TEST(WritePngs, FilesOfOneStemAreRefusedBeforeAnyImageIsWritten)
{
    ScratchFolder folder;
    const std::string first = folder.write("clean.txt", clean);
    std::filesystem::create_directories(folder.path("other"));
    struct Row {
        const char* what;
        std::vector<std::string> files;
        int status;
    };
    const Row rows[] = {
        { "another folder", { first, folder.write("other/clean.txt", planted) }, PngFailed },
        { "another extension", { first, folder.write("clean.dat", planted) }, PngFailed },
        { "the same file twice", { first, folder.path("other/../clean.txt") }, NoWarning },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::remove_all(folder.path("images"));
        const Result result = writePngs(folder, 1, row.files);
        EXPECT_EQ(result.status, row.status) << result.err;
        const bool written = std::filesystem::exists(folder.path("images/clean-1.png"));
        EXPECT_EQ(written, row.status != PngFailed);
        if (row.status == PngFailed) {
            EXPECT_NE(result.err.find(" would both write clean-S.png"), std::string::npos) << result.err;
        }
    }
}

// The program itself, without a display named: it must pick the offscreen
// platform by itself, and its exit status is what CI reads.
TEST(WritePngs, TheProgramNeedsNoDisplayAndExitsByWhatItFound)
{
    ScratchFolder folder;
    const std::string command = std::string("env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY ") + NUMBRELLE_PREVIEW
        + " --png " + folder.path("images") + " --runs 12 ";
    auto status = [](const std::string& line) {
        const int raw = std::system((line + " >/dev/null 2>&1").c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(status(command + folder.write("clean.txt", clean)), 0);
    EXPECT_EQ(status(command + folder.write("planted.txt", planted)), 1);
    EXPECT_EQ(status(command), 2);
}

TEST(ParseArguments, WindowAndImages)
{
    struct Row {
        std::vector<std::string> arguments;
        std::string error; // empty: parses
    };
    const Row rows[] = {
        { { "q.txt" }, "" },
        { { "--seed", "7", "q.txt" }, "" },
        { { "--png", "out", "--runs", "20", "a.txt", "b.txt" }, "" },
        { { "--layout", "--runs", "20", "a.txt" }, "" },
        { { "--layout", "--png", "out", "a.txt" }, "give one of --png DIR and --layout" },
        { { "--help" }, "" },
        { {}, "the window shows one file" },
        { { "a.txt", "b.txt" }, "the window shows one file" },
        { { "--runs", "3", "q.txt" }, "--runs goes with --png" },
        { { "--png", "out" }, "--png needs at least one file" },
        { { "--png" }, "--png needs a folder" },
        { { "--png", "out", "--seed", "2", "q.txt" }, "--png uses the seeds 1..N; --seed does not apply" },
        { { "--layout", "--seed", "2", "q.txt" }, "--layout uses the seeds 1..N; --seed does not apply" },
        { { "--layout" }, "--layout needs at least one file" },
        { { "--png", "out", "--runs", "0", "q.txt" }, "--runs needs a whole number of at least 1" },
        { { "--seed", "x", "q.txt" }, "--seed needs a whole number of at least 1" },
        { { "--frob", "q.txt" }, "unknown option --frob" },
    };
    for (const Row& row : rows) {
        std::string joined;
        for (const std::string& argument : row.arguments)
            joined += argument + " ";
        SCOPED_TRACE(joined);
        const ParsedArguments parsed = ParseArguments(row.arguments);
        EXPECT_EQ(parsed.error, row.error);
        EXPECT_EQ(parsed.arguments.has_value(), row.error.empty());
    }
    const ParsedArguments images = ParseArguments({ "--png", "out", "--runs", "20", "a.txt", "b.txt" });
    ASSERT_TRUE(images.arguments && images.arguments->png);
    EXPECT_EQ(images.arguments->png->runs, 20);
    EXPECT_EQ(images.arguments->png->files, (std::vector<std::string> { "a.txt", "b.txt" }));
    EXPECT_EQ(ParseArguments({ "--seed", "7", "q.txt" }).arguments->seed, 7u);
    const ParsedArguments layout = ParseArguments({ "--layout", "a.txt" });
    ASSERT_TRUE(layout.arguments && layout.arguments->png);
    EXPECT_EQ(layout.arguments->png->folder, "");
}

} // namespace
} // namespace numbrelle::preview

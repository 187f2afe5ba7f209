#include "tools/preview/PngExport.h"

#include "drill/Controls.h"
#include "drill/Drill.h"
#include "drill/QuestionScreen.h"
#include "tools/preview/LayoutCheck.h"
#include "tools/preview/PreviewRun.h"

#include <QDir>
#include <QPixmap>

#include <filesystem>
#include <map>
#include <ostream>
#include <system_error>
#include <tuple>

namespace numbrelle::preview {

namespace {

// One problem of one file, with every run that showed it.
struct Seen {
    std::string what; // as the first run showed it
    std::int32_t line = 0;
    std::vector<std::uint32_t> seeds;
};

using ProblemKey = std::tuple<LayoutProblem, std::int32_t, std::int32_t>;

void printSeen(const std::string& file, int runs, const Seen& seen, std::ostream& out)
{
    out << file << ": ";
    if (seen.line > 0)
        out << "line " << seen.line << ": ";
    out << seen.what << "  (" << seen.seeds.size() << " of " << runs << " runs, first seed " << seen.seeds.front()
        << ")\n";
}

const char* stateText(FileState state)
{
    switch (state) {
    case FileState::Question: break;
    case FileState::Missing: return "no such file";
    case FileState::Unreadable: return "cannot read it";
    case FileState::NotAQuestionFile: return "not a question file: it holds no statement of the language";
    }
    return "";
}

bool writeImage(const QImage& image, const QString& path, std::ostream& err)
{
    if (image.save(path, "PNG"))
        return true;
    err << "numbrelle-preview: cannot write " << path.toStdString() << '\n';
    return false;
}

// Writes the runs of one file; false when it could not be shown or written.
bool writeFile(const LoadedFile& file, const PngOptions& options, std::ostream& out, std::ostream& err, bool& warned)
{
    const QString name = QString::fromStdString(std::filesystem::path(file.path).stem().string());
    const QDir folder(QString::fromStdString(options.folder));
    // One screen for all runs, as a drill shows its questions one after another.
    QuestionScreen screen;
    std::map<ProblemKey, Seen> seen;
    std::vector<ProblemKey> order;
    bool written = true;
    for (int run = 1; run <= options.runs; ++run) {
        const auto seed = static_cast<std::uint32_t>(run);
        const PreviewRun preview = RunSeed(file, seed);
        const QuestionRecord& record = preview.report.record;
        screen.showQuestion(record, CounterText(run, options.runs));
        for (const LayoutWarning& warning :
            CheckLayout(screen, record, preview.report.drawingLines, DisplayName(file.path, record.title))) {
            const ProblemKey key { warning.problem, warning.line, warning.otherLine };
            auto [it, added] = seen.try_emplace(key, Seen { warning.what, warning.line, {} });
            if (added)
                order.push_back(key);
            if (it->second.seeds.empty() || it->second.seeds.back() != seed)
                it->second.seeds.push_back(seed);
        }
        if (options.folder.empty())
            continue;
        const QString base = folder.filePath(QStringLiteral("%1-%2").arg(name).arg(run));
        written = writeImage(screen.grab().toImage(), base + QStringLiteral(".png"), err) && written;
        if (!record.drawingList.empty())
            written = writeImage(screen.picture()->image(), base + QStringLiteral("-picture.png"), err) && written;
    }
    for (const ProblemKey& key : order)
        printSeen(file.path, options.runs, seen.at(key), out);
    warned = warned || !order.empty();
    return written;
}

// Images are named after the file's stem, so two files of one stem (a.txt and
// other/a.txt, a.txt and a.dat) would overwrite each other's images unseen.
// Returns the first such pair's message; empty when every stem is its own.
std::string clashingStems(const std::vector<std::string>& files)
{
    std::map<std::string, std::filesystem::path> byStem;
    for (const std::string& file : files) {
        // Without a working folder (removed under us) the path is compared as given.
        std::error_code error;
        std::filesystem::path path = std::filesystem::absolute(file, error);
        if (error)
            path = file;
        path = path.lexically_normal();
        const auto [it, added] = byStem.try_emplace(path.stem().string(), path);
        if (!added && it->second != path)
            return it->second.string() + " and " + path.string() + " would both write " + it->first
                + "-S.png; give one of them another name";
    }
    return {};
}

} // namespace

int WritePngs(const PngOptions& options, std::ostream& out, std::ostream& err)
{
    if (!options.folder.empty()) {
        if (const std::string clash = clashingStems(options.files); !clash.empty()) {
            err << "numbrelle-preview: " << clash << '\n';
            return PngFailed;
        }
    }
    if (!options.folder.empty() && !QDir().mkpath(QString::fromStdString(options.folder))) {
        err << "numbrelle-preview: cannot make the folder " << options.folder << '\n';
        return PngFailed;
    }
    bool warned = false;
    bool failed = false;
    for (const std::string& path : options.files) {
        const LoadedFile file = LoadQuestionFile(path);
        if (file.state != FileState::Question) {
            err << "numbrelle-preview: " << path << ": " << stateText(file.state) << '\n';
            failed = true;
            continue;
        }
        failed = !writeFile(file, options, out, err, warned) || failed;
    }
    out.flush();
    if (failed)
        return PngFailed;
    return warned ? LayoutWarned : NoWarning;
}

} // namespace numbrelle::preview

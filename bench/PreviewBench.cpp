// What the preview makes an author wait for: the question screen painted
// again after a save, and each screen written as an image or measured for
// its layout alone.
#include "bench/BenchApplication.h"
#include "platform/Recording.h"
#include "script/Limits.h"
#include "tools/preview/PngExport.h"
#include "tools/preview/PreviewWindow.h"

#include <QApplication>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <sstream>

namespace numbrelle::preview {
namespace {

// A question with a picture and labels, as the bundled files have them.
std::string question(int n)
{
    return "title(Reload " + std::to_string(n)
        + ");\r\nlinetext(Bench);\r\nint(a);int(b);int(c);\r\nrandom(a,99,10);\r\nrandom(b,99,10);\r\n"
          "=+(c,a,b);\r\nstrout(Add\\s[a]\\sand\\s[b].);\r\nans([c]);\r\nline(100,500,900,500);\r\n"
          "square(100,300,400,450,#paint,255,128,0);\r\nprint([a],100,600);\r\nprint([b],600,600);\r\n";
}

// Sees the first paint of any widget after it is armed.
class PaintWatch final : public QObject {
public:
    bool armed = false;
    bool painted = false;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (armed && event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(object, event);
    }
};

// From the rename that an editor's save ends with to the question screen
// painted with the new run: the watcher's notice, the settling of the burst,
// reading, running and laying out, and the paint.
void BM_PreviewRepaintAfterSave(benchmark::State& state)
{
    ensureApplication();
    FolderFileSystem files { maxQuestionFileBytes };
    const std::string path = files.addQuestionBytes("reload.txt", question(0));
    PreviewWindow window(path);
    window.show();
    PaintWatch watch;
    qApp->installEventFilter(&watch);
    QObject::connect(&window, &PreviewWindow::reloaded, [&] { watch.armed = true; });
    QCoreApplication::processEvents();
    int n = 0;
    for (auto _ : state) {
        files.addQuestionBytes("reload.txt.swp", question(++n));
        watch.armed = watch.painted = false;
        const auto start = std::chrono::steady_clock::now();
        std::filesystem::rename(path + ".swp", path);
        while (!watch.painted)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    qApp->removeEventFilter(&watch);
    state.counters["settle_ms"] = settleMilliseconds;
}
BENCHMARK(BM_PreviewRepaintAfterSave)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

// One file's screens of seeds 1..20, written as images (range 1) or measured
// alone as --layout does (range 0); the counter is the time per screen.
void BM_PreviewScreens(benchmark::State& state)
{
    ensureApplication();
    FolderFileSystem files { maxQuestionFileBytes };
    const std::string path = files.addQuestionBytes("screens.txt", question(1));
    const bool images = state.range(0) != 0;
    constexpr int runs = 20;
    for (auto _ : state) {
        std::ostringstream out, err;
        benchmark::DoNotOptimize(
            WritePngs({ images ? files.questionsFolder() + "/png" : "", runs, { path } }, out, err));
    }
    state.counters["per_screen"] = benchmark::Counter(
        static_cast<double>(state.iterations() * runs), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PreviewScreens)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace numbrelle::preview

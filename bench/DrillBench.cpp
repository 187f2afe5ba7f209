// How long the drill program makes a learner wait: loading a large library of
// question files when Start is pressed, and making and showing one question
// with its picture, which must fit in one frame.
#include "bench/BenchApplication.h"
#include "drill/Form1.h"
#include "drill/InterpreterScript.h"
#include "drill/Picture.h"
#include "drill/QuestionLibrary.h"
#include "platform/DisplaySettings.h"
#include "platform/Recording.h"
#include "platform/StdRandom.h"
#include "script/Limits.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QWindow>

#include <benchmark/benchmark.h>

namespace numbrelle {
namespace {

// A question file of the usual kind, about a kilobyte: a remark, the texts,
// a few numbers drawn and combined, the answer and a small picture.
std::string typicalQuestion(int n)
{
    const std::string k = std::to_string(n);
    return "/* 2けたのたし算 その" + k
        + "\r\n   くり上がりのある問題も出ます。 */\r\n"
          "title(2けたのたし算"
        + k
        + ");\r\n"
          "linetext(たし算"
        + std::to_string(n % 10)
        + ");\r\n"
          "extext(2けたの数どうしのたし算です。\\n答えを半角か全角の数字で入力します。);\r\n"
          "int(a);int(b);int(c);int(wa);int(wb);str(s);\r\n"
          "random(a,99,10);\r\n"
          "random(b,99,10);\r\n"
          "=+(c,a,b);\r\n"
          "=*(wa,a,8);=+(wa,wa,100);=*(wb,b,8);=+(wb,wb,100);\r\n"
          "if(c>100){\r\n  =(s,大きい);\r\n}else{\r\n  =(s,小さい);\r\n};\r\n"
          "// 問題文\r\n"
          "strout(つぎの計算をしましょう。\\n\\n[a]\\s+\\s[b]\\s=\\s?);\r\n"
          "ans([c]);\r\n"
          "// 図: 数の線と二つの四角\r\n"
          "line(100,500,900,500,2,0,0,0);\r\n"
          "square(100,300,wa,450,#paint,255,128,0);\r\n"
          "square(100,550,wb,700,2,0,0,255);\r\n"
          "circle(500,500,60,1,0,128,0);\r\n"
          "print(a,110,250);\r\n"
          "print(b,110,720);\r\n";
}

// A questions folder of count such files, as a teacher's editor saves them.
struct Library {
    FolderFileSystem files { maxQuestionFileBytes };

    explicit Library(int count)
    {
        for (int i = 0; i < count; ++i)
            files.addQuestion("q" + std::to_string(1000 + i) + ".txt", typicalQuestion(i));
    }
};

// An Enter as the system delivers it: to the window, ahead of the focused control.
void pressEnter(Form1& form)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(form.windowHandle(), &press);
}

struct Services {
    RecordingMessageBox messages;
    StdRandom random;
    Interpreter interpreter { messages, random };
    InterpreterScript script { interpreter };
    FixedClock clock { 36000 };
    RecordingBeeper beeper;
    NoDisplaySettings display;
};

void BM_LoadLibrary(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Library library(count);
    Services services;
    for (auto _ : state) {
        QuestionLibrary loaded;
        loaded.Load(library.files, services.script);
        benchmark::DoNotOptimize(loaded.entries().data());
    }
    // A generated file that reports errors would measure the error boxes.
    if (!services.messages.texts.empty())
        state.SkipWithError("the generated question files report script errors");
    state.counters["files/s"]
        = benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LoadLibrary)->Arg(1000)->Unit(benchmark::kMillisecond);

// The whole title Start as the learner sees it: the library, the progress bar
// redrawn and pending events handled after every file, and the lists filled.
void BM_LoadLibraryInWindow(benchmark::State& state)
{
    ensureApplication();
    Library library(static_cast<int>(state.range(0)));
    Services services;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<Form1>(
            services.script, services.clock, services.beeper, library.files, services.random, services.display);
        form->show();
        state.ResumeTiming();
        pressEnter(*form);
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadLibraryInWindow)->Arg(1000)->Unit(benchmark::kMillisecond);

// One question: the run, the labels, the picture cleared and drawn, and the
// window painted. Every frame of the question screen is in it.
void BM_MakeQuestionWithPicture(benchmark::State& state)
{
    ensureApplication();
    Library library(1);
    Services services;
    Form1 form(services.script, services.clock, services.beeper, library.files, services.random, services.display);
    form.show();
    pressEnter(form); // load
    pressEnter(form); // start the drill
    for (auto _ : state) {
        form.MakeQu();
        // The whole window rendered as the screen would show it.
        benchmark::DoNotOptimize(form.grab());
    }
    if (!services.messages.texts.empty())
        state.SkipWithError("the generated question file reports script errors");
    state.counters["entries"] = static_cast<double>(services.script.record().drawingList.entries.size());
}
BENCHMARK(BM_MakeQuestionWithPicture)->Unit(benchmark::kMicrosecond);

// The drawing alone, for a picture of twenty entries of every kind.
void BM_DrawPicture(benchmark::State& state)
{
    ensureApplication();
    DrawingList list;
    for (std::int16_t i = 0; i < 5; ++i) {
        const std::int16_t at = static_cast<std::int16_t>(100 + i * 150);
        list.entries.push_back({ DrawingKind::Line, 0, at, 1000, at, u"2", 0, 0, 0 });
        list.entries.push_back({ DrawingKind::Box, at, at, static_cast<std::int16_t>(at + 100),
            static_cast<std::int16_t>(at + 100), u"#paint", 255, 0, 0 });
        list.entries.push_back({ DrawingKind::Circle, 500, 500, at, 0, u"1", 0, 0, 255 });
        list.entries.push_back({ DrawingKind::Text, at, 50, 0, 0, u"１２３", 0, 0, 0 });
    }
    QImage picture(273, 273, QImage::Format_ARGB32_Premultiplied);
    int penWidth = 1;
    for (auto _ : state) {
        picture.fill(Qt::white);
        QPainter painter(&picture);
        PaintDrawingList(painter, list, 4095, penWidth);
    }
}
BENCHMARK(BM_DrawPicture)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace numbrelle

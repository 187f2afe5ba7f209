// How fast the language runs question scripts: statements per second for loop,
// text and float work, questions per second for a typical question, and array
// access. The scripts are the question files in bench/scripts, which
// bench/compare also runs through numbrelle-run beside the same work in Tcl,
// Python and Lua.

#include "platform/Files.h"
#include "platform/StdFileSystem.h"
#include "platform/StdRandom.h"
#include "tests/support/ScriptRun.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace numbrelle {
namespace {

// One of the question files of bench/scripts, its list built once. It draws
// from the program's own generator seeded with 1, as numbrelle_count_passes
// does, so both count the same passes.
struct Runner {
    StdRandom random;
    testing::ScriptRun run { random };
    Interpreter& interp = run.interp;

    explicit Runner(const char* name)
    {
        random.seed(1);
        StdFileSystem files;
        run.build(ReadQuestionFile(files, std::string(NUMBRELLE_BENCH_SCRIPTS "/") + name));
    }
    bool showedBoxes() const { return !run.box.texts.empty(); }
};

void runStatements(benchmark::State& state, const char* script)
{
    Runner runner(script);
    const std::int64_t passes = runner.run.countPasses();
    for (auto _ : state) {
        runner.interp.RunScript();
        benchmark::DoNotOptimize(runner.interp.record().questionText.size());
    }
    state.counters["statements"] = static_cast<double>(passes);
    state.counters["statements/s"]
        = benchmark::Counter(static_cast<double>(passes) * state.iterations(), benchmark::Counter::kIsRate);
    if (runner.showedBoxes())
        state.SkipWithError("the script showed a message box");
}

void LoopHeavy(benchmark::State& state) { runStatements(state, "loops.txt"); }
void TextBuilding(benchmark::State& state) { runStatements(state, "text.txt"); }
void Floats(benchmark::State& state) { runStatements(state, "floats.txt"); }
void ArrayLoop(benchmark::State& state) { runStatements(state, "arrays.txt"); }

void TypicalQuestion(benchmark::State& state)
{
    Runner runner("question.txt");
    const std::int64_t passes = runner.run.countPasses();
    for (auto _ : state) {
        runner.interp.RunScript();
        benchmark::DoNotOptimize(runner.interp.record().answerText.size());
    }
    state.counters["statements"] = static_cast<double>(passes);
    state.counters["questions/s"]
        = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    if (runner.showedBoxes())
        state.SkipWithError("the script showed a message box");
}

BENCHMARK(LoopHeavy)->Unit(benchmark::kMillisecond);
BENCHMARK(TextBuilding)->Unit(benchmark::kMicrosecond);
BENCHMARK(Floats)->Unit(benchmark::kMillisecond);
BENCHMARK(ArrayLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(TypicalQuestion)->Unit(benchmark::kMicrosecond)->Iterations(10000);

} // namespace
} // namespace numbrelle

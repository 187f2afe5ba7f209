// How fast the language runs question scripts: statements per second for loop,
// text and float work, questions per second for a typical question, and array
// access. The scripts are the question files in bench/scripts, which
// bench/compare also runs through numbrelle-run beside the same work in Tcl,
// Python and Lua.

#include "platform/Files.h"
#include "platform/StdFileSystem.h"
#include "platform/StdRandom.h"
#include "script/Limits.h"
#include "tests/support/ScriptRun.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace numbrelle {
namespace {

// What a benchmark reports per second: statement passes, or whole questions.
enum class Rate { Statements, Questions };

// Runs one of the question files of bench/scripts on one list, as a drill
// does. It draws from the program's own generator seeded with 1, as
// numbrelle_count_passes does, so both count the same passes.
void runFile(benchmark::State& state, const char* name, Rate rate)
{
    StdRandom random;
    random.seed(1);
    testing::ScriptRun run(random);
    StdFileSystem files { maxQuestionFileBytes };
    run.build(ReadQuestionFile(files, std::string(NUMBRELLE_BENCH_SCRIPTS "/") + name));
    const std::int64_t passes = run.countPasses();
    for (auto _ : state) {
        run.interp.RunScript();
        benchmark::DoNotOptimize(run.interp.record());
    }
    state.counters["statements"] = static_cast<double>(passes);
    if (rate == Rate::Statements)
        state.counters["statements/s"]
            = benchmark::Counter(static_cast<double>(passes) * state.iterations(), benchmark::Counter::kIsRate);
    else
        state.counters["questions/s"]
            = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    if (!run.box.texts.empty())
        state.SkipWithError("the script showed a message box");
}

void LoopHeavy(benchmark::State& state) { runFile(state, "loops.txt", Rate::Statements); }
void TextBuilding(benchmark::State& state) { runFile(state, "text.txt", Rate::Statements); }
void Floats(benchmark::State& state) { runFile(state, "floats.txt", Rate::Statements); }
void ArrayLoop(benchmark::State& state) { runFile(state, "arrays.txt", Rate::Statements); }
void TypicalQuestion(benchmark::State& state) { runFile(state, "question.txt", Rate::Questions); }

BENCHMARK(LoopHeavy)->Unit(benchmark::kMillisecond);
BENCHMARK(TextBuilding)->Unit(benchmark::kMicrosecond);
BENCHMARK(Floats)->Unit(benchmark::kMillisecond);
BENCHMARK(ArrayLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(TypicalQuestion)->Unit(benchmark::kMicrosecond)->Iterations(10000);

} // namespace
} // namespace numbrelle

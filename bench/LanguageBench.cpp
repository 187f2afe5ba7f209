// How fast the language runs question scripts: statements per second for loop,
// text and float work, questions per second for a typical question, and array
// access. The scripts are the question files in bench/scripts, which
// bench/compare also runs through numbrelle-run beside the same work in Tcl,
// Python and Lua.

#include "bench/PassCounter.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "platform/StdFileSystem.h"
#include "script/Interpreter.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace numbrelle {
namespace {

class SilentBox : public MessageBox {
public:
    void show(const std::u16string&) override { ++shown; }
    int shown = 0;
};

// A small deterministic generator, so that every benchmark run draws alike.
class LcgRandom : public RandomSource {
public:
    void seed(std::uint32_t value) override { m_state = value; }
    float next() override
    {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<float>(m_state >> 8) * (1.0f / 16777216.0f);
    }

private:
    std::uint32_t m_state = 12345;
};

struct Runner {
    SilentBox box;
    LcgRandom random;
    Interpreter interp { box, random };

    explicit Runner(const char* name)
    {
        StdFileSystem files;
        interp.BuildStatementList(ReadQuestionFile(files, std::string(NUMBRELLE_BENCH_SCRIPTS "/") + name));
    }
};

void runStatements(benchmark::State& state, const char* script)
{
    Runner runner(script);
    const std::int64_t passes = countPasses(runner.interp);
    for (auto _ : state) {
        runner.interp.RunScript();
        benchmark::DoNotOptimize(runner.interp.record().questionText.size());
    }
    state.counters["statements"] = static_cast<double>(passes);
    state.counters["statements/s"]
        = benchmark::Counter(static_cast<double>(passes) * state.iterations(), benchmark::Counter::kIsRate);
    if (runner.box.shown != 0)
        state.SkipWithError("the script showed a message box");
}

void LoopHeavy(benchmark::State& state) { runStatements(state, "loops.txt"); }
void TextBuilding(benchmark::State& state) { runStatements(state, "text.txt"); }
void Floats(benchmark::State& state) { runStatements(state, "floats.txt"); }
void ArrayLoop(benchmark::State& state) { runStatements(state, "arrays.txt"); }

void TypicalQuestion(benchmark::State& state)
{
    Runner runner("question.txt");
    const std::int64_t passes = countPasses(runner.interp);
    for (auto _ : state) {
        runner.interp.RunScript();
        benchmark::DoNotOptimize(runner.interp.record().answerText.size());
    }
    state.counters["statements"] = static_cast<double>(passes);
    state.counters["questions/s"]
        = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    if (runner.box.shown != 0)
        state.SkipWithError("the script showed a message box");
}

BENCHMARK(LoopHeavy)->Unit(benchmark::kMillisecond);
BENCHMARK(TextBuilding)->Unit(benchmark::kMicrosecond);
BENCHMARK(Floats)->Unit(benchmark::kMillisecond);
BENCHMARK(ArrayLoop)->Unit(benchmark::kMicrosecond);
BENCHMARK(TypicalQuestion)->Unit(benchmark::kMicrosecond)->Iterations(10000);

} // namespace
} // namespace numbrelle

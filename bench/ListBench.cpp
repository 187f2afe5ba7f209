// How fast a question file becomes a statement list, and how fast a run walks
// declarations, stores and reads: the work every question of a drill repeats.
#include "platform/StdRandom.h"
#include "script/StatementList.h"
#include "script/Text.h"
#include "tests/support/ScriptRun.h"

#include <benchmark/benchmark.h>

#include <string>

namespace numbrelle {
namespace {

// About a megabyte in the shape of a real question file: comments, blanks,
// line breaks, blocks and text templates, and fewer than 32768 statements.
Text megabyteScript()
{
    std::string script = "/* generated for measuring */\r\ntitle(Measure);\r\nint(a);int(b);str(s);\r\n";
    for (int i = 0; script.size() < 1'000'000; ++i) {
        std::string n = std::to_string(i);
        script += "// step " + n + ": draw two numbers and ask for their sum, with a long remark\r\n";
        script += "Random( a , 1 , " + n + " );   random(b,1,9);\r\n";
        script += "IF( a == b ){\r\n    strout( [a]\\s+\\s[b]\\s=\\s\\q" + n + "\\w\\n );\r\n}else{\r\n";
        script += "    ans( [a]_[b] );  /* both are accepted */\r\n};\r\n";
    }
    return asciiText(script);
}

void BM_BuildStatementList(benchmark::State& state)
{
    Text script = megabyteScript();
    for (auto _ : state) {
        StatementList list = BuildStatementList(script);
        benchmark::DoNotOptimize(list);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(script.size()));
    state.counters["statements"] = static_cast<double>(BuildStatementList(script).entries.size());
}
BENCHMARK(BM_BuildStatementList)->Unit(benchmark::kMillisecond);

// The same with the interpreter's once-per-list work: every keyword resolved
// to its handler and every operand cut into fields and templates.
void BM_InterpreterBuildStatementList(benchmark::State& state)
{
    Text script = megabyteScript();
    StdRandom random;
    testing::ScriptRun run(random);
    for (auto _ : state) {
        run.build(script);
        benchmark::DoNotOptimize(run.interp.statementList());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(script.size()));
}
BENCHMARK(BM_InterpreterBuildStatementList)->Unit(benchmark::kMillisecond);

// Counts statement passes once, outside the timed loop, so that the rate
// reported is statements, not runs.
void runBenchmark(benchmark::State& state, const Text& script)
{
    StdRandom random;
    random.seed(1);
    testing::ScriptRun run(random);
    run.build(script);
    for (auto _ : state)
        benchmark::DoNotOptimize(run.runOnce());
    const std::size_t boxes = run.box.texts.size();
    const std::int64_t perRun = run.countPasses();
    state.counters["statements/run"] = static_cast<double>(perRun);
    state.counters["statements/s"]
        = benchmark::Counter(static_cast<double>(perRun * state.iterations()), benchmark::Counter::kIsRate);
    state.counters["boxes/run"] = static_cast<double>(boxes);
}

// 30,000 statements without a loop: 10,000 variables declared, stored and
// read back, so every lookup searches a large store.
void BM_RunDeclareStoreRead(benchmark::State& state)
{
    std::string script;
    for (int i = 0; i < 10'000; ++i) {
        std::string name = "v" + std::to_string(i);
        script += "int(" + name + ");=(" + name + "," + std::to_string(i % 30'000) + ");ans([" + name + "]);";
    }
    runBenchmark(state, asciiText(script));
}
BENCHMARK(BM_RunDeclareStoreRead)->Unit(benchmark::kMillisecond);

// 100,000 statement passes (five per turn) through a for loop that stores and reads.
void BM_RunLoop(benchmark::State& state)
{
    runBenchmark(state, asciiText("int(i);int(a);str(s);for(i,1,20000){=(a,i);=(s,[a]);=(a,s);};"));
}
BENCHMARK(BM_RunLoop)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace numbrelle

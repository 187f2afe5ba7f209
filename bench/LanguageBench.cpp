// How fast the language runs question scripts: statements per second for loop,
// text and float work, microseconds per typical question, and array access.
// bench/tcl holds the same work in Tcl for a comparison with a mature
// interpreter.

#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "script/Interpreter.h"

#include <benchmark/benchmark.h>

#include <cstdint>

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

// Counts every pass of the run loop, skipped and block statements included.
class PassCounter : public RunObserver {
public:
    void statementPassed(std::int32_t, bool, std::size_t) override { ++passes; }
    std::int64_t passes = 0;
};

constexpr std::u16string_view loopScript = u"int(i);int(j);int(s);int(m);"
                                           u"for(i,1,500){for(j,1,1000){=+(s,i,j);=mod(m,s,7);};};";

constexpr std::u16string_view textScript = u"str(t);int(k);"
                                           u"for(k,1,2000){=(t,[t]x);strout([k]\\s);};";

constexpr std::u16string_view floatScript = u"single(x);single(y);int(k);"
                                            u"for(k,1,20000){=sin(x,k);dec=*(y,x,1.5);dec=+(y,y,0.25);};";

constexpr std::u16string_view arrayScript = u"int(a:1000);int(i);int(s);"
                                            u"for(i,0,999){=*(a:i,i,2);};"
                                            u"for(i,0,999){=+(s,a:i,s);=mod(s,s,1000);};";

// A typical question: declarations, draws, a little arithmetic and a branch,
// the question text and its answers.
constexpr std::u16string_view questionScript = u"title(Sums\\sof\\stwo\\snumbers);\r\n"
                                               u"linetext(Addition);\r\n"
                                               u"extext(Adds\\stwo\\stwo-digit\\snumbers.);\r\n"
                                               u"int(a);int(b);int(c);int(d);str(q);\r\n"
                                               u"random(a,89,10);\r\n"
                                               u"random(b,89,10);\r\n"
                                               u"=+(c,a,b);\r\n"
                                               u"=mod(d,c,10);\r\n"
                                               u"if(c>=100){\r\n"
                                               u"  strout(Carry\\sover\\sa\\shundred.\\n);\r\n"
                                               u"}else{\r\n"
                                               u"  strout(No\\scarry.\\n);\r\n"
                                               u"};\r\n"
                                               u"=(q,[a]\\s+\\s[b]);\r\n"
                                               u"strout([q]\\s=\\s?);\r\n"
                                               u"if(d==0){\r\n"
                                               u"  strout(\\n\\lends\\sin\\s0\\r);\r\n"
                                               u"};\r\n"
                                               u"ans([c]);\r\n"
                                               u"ans(_);\r\n"
                                               u"ans([c].0);\r\n";

struct Runner {
    SilentBox box;
    LcgRandom random;
    Interpreter interp { box, random };

    explicit Runner(std::u16string_view script) { interp.BuildStatementList(script); }

    std::int64_t countPasses()
    {
        PassCounter counter;
        interp.setObserver(&counter);
        interp.RunScript();
        interp.setObserver(nullptr);
        return counter.passes;
    }
};

void runStatements(benchmark::State& state, std::u16string_view script)
{
    Runner runner(script);
    const std::int64_t passes = runner.countPasses();
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

void LoopHeavy(benchmark::State& state) { runStatements(state, loopScript); }
void TextBuilding(benchmark::State& state) { runStatements(state, textScript); }
void Floats(benchmark::State& state) { runStatements(state, floatScript); }
void ArrayLoop(benchmark::State& state) { runStatements(state, arrayScript); }

void TypicalQuestion(benchmark::State& state)
{
    Runner runner(questionScript);
    const std::int64_t passes = runner.countPasses();
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

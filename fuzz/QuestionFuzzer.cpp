// libFuzzer entry: arbitrary bytes go the whole way a question file goes, from
// decoding through line joining to three runs of one statement list, as the
// library load and a drill run it. Built twice: as a file (bytes decoded as the
// program decodes a question file: code page 932, UTF-8 or UTF-16 by its mark)
// and, with NUMBRELLE_FUZZ_UTF16, as raw UTF-16 text, which reaches every
// surrogate arrangement, unpaired ones included, that no decoder hands on.
#include "platform/StdRandom.h"
#include "script/Messages.h"
#include "tests/support/ScriptRun.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace numbrelle {
namespace {

// Endless loops are certain to turn up. The real cap (ten million statements)
// is tested by the hostile suite; here a run is cut off much sooner so that the
// fuzzer spends its time on new inputs, not on spinning. Megabyte texts stored
// over and over are cut off as well: that work is not bounded by the language
// yet and is kept as a known case in the hostile suite. The observer is called
// between statements, outside any handler, so leaving by an exception abandons
// nothing half done, and the next run starts from a reset state anyway.
struct RunCutOff { };

class CutOffObserver final : public RunObserver {
public:
    static constexpr std::int64_t statementLimit = 50'000;
    static constexpr std::size_t storedCharacterLimit = 8 << 20;

    void statementPassed(std::int32_t, bool, std::size_t) override
    {
        if (++m_passes > statementLimit)
            throw RunCutOff {};
    }
    void stored(const Location&, const Text&, const Value& value) override
    {
        if (value.kind == ValueKind::Text && (m_stored += value.text.size()) > storedCharacterLimit)
            throw RunCutOff {};
    }
    void reset()
    {
        m_passes = 0;
        m_stored = 0;
    }

private:
    std::int64_t m_passes = 0;
    std::size_t m_stored = 0;
};

// What every run must leave behind, whatever its input. A breach is a finding.
void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkRecord(const QuestionRecord& record, std::size_t boxes)
{
    check(boxes <= static_cast<std::size_t>(maxMessagesPerRun) + 1);
    for (const Text* text :
        { &record.title, &record.descriptionText, &record.categoryText, &record.answerText, &record.questionText })
        check(text->size() <= maxTextLength);
    check(record.drawingList.entries.size() <= maxDrawingEntries);
}

void build(testing::ScriptRun& run, const std::uint8_t* data, std::size_t size)
{
#ifdef NUMBRELLE_FUZZ_UTF16
    Text text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * sizeof(char16_t));
    run.build(text);
#else
    run.buildFile(std::string(reinterpret_cast<const char*>(data), size));
#endif
}

} // namespace
} // namespace numbrelle

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace numbrelle;
    StdRandom random;
    random.seed(20240601);
    testing::ScriptRun run(random);
    CutOffObserver observer;
    run.interp.setObserver(&observer);
    build(run, data, size);
    const StatementList& list = run.interp.statementList();
    check(list.lastIndex < static_cast<std::int32_t>(list.entries.size()));
    for (int i = 0; i < 3; ++i) {
        observer.reset();
        try {
            run.runOnce();
        } catch (const RunCutOff&) {
            continue;
        }
        checkRecord(run.interp.record(), run.box.texts.size());
    }
    return 0;
}

// The trace of numbrelle-run: one line per statement pass of the runs it
// observes, with what each statement stored, appended or showed. Set only
// when asked for, so plain runs pay nothing for it.
#pragma once

#include "script/Interpreter.h"

#include <iosfwd>
#include <string>

namespace numbrelle::runner {

class TraceWriter final : public RunObserver {
public:
    TraceWriter(const StatementList& list, std::ostream& out);

    void statementPassed(std::int32_t index, bool ran, std::size_t depth) override;
    void stored(const Location& at, const Text& name, const Value& value) override;
    void appended(RecordField field, const Text& text) override;
    void messageShown(std::int32_t index, const Text& text) override;
    void statementCapHit() override;
    void messageCapHit() override;
    // Writes what happened after the last statement passed; call after each run.
    void finishRun();

private:
    const StatementList& m_list;
    std::ostream& m_out;
    // What the statement now running did; a statement's effects come before
    // the interpreter says it passed, and are written on its line.
    std::string m_effects;
};

} // namespace numbrelle::runner

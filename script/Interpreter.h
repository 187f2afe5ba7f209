// The interpreter state the application owns: the statement list, the
// variables, the block stack and the question record. RunScript runs the list
// once from its first statement to its last and leaves a fresh record behind.
// Errors never stop a run: each is shown in a message box and the run goes on.
#pragma once

#include "script/BlockStack.h"
#include "script/Fault.h"
#include "script/Limits.h"
#include "script/QuestionRecord.h"
#include "script/StatementList.h"
#include "script/Text.h"
#include "script/Value.h"
#include "script/VariableStore.h"

#include <cstdint>
#include <vector>

namespace numbrelle {

class MessageBox;
class RandomSource;

// Sees a run as it happens; the runner's trace and checks use it. Every
// callback is optional.
class RunObserver {
public:
    // The callbacks that come with every statement or store. A run makes
    // none of them for an observer that does not want them, so that one
    // watching only for boxes costs nothing while a script computes.
    struct Watching {
        bool statements = true;
        bool stores = true;
    };

    virtual ~RunObserver() = default;
    // Asked once, when the observer is set.
    virtual Watching watching() const { return {}; }
    virtual void statementPassed(std::int32_t /*index*/, bool /*ran*/, std::size_t /*depth*/) { }
    virtual void stored(const Location& /*at*/, const Text& /*name*/, const Value& /*value*/) { }
    virtual void appended(RecordField /*field*/, const Text& /*text*/) { }
    // The statement at index appended an entry to the drawing list.
    virtual void drawn(std::int32_t /*index*/) { }
    virtual void messageShown(std::int32_t /*index*/, const Text& /*text*/) { }
    virtual void statementCapHit() { }
    virtual void messageCapHit() { }
};

class Interpreter {
public:
    // The double nearest to 3.14159265358979, a little below the exact value.
    static constexpr double pi = 3.14159265358979;

    Interpreter(MessageBox& messages, RandomSource& random);

    // Replaces the statement list with the preprocessed script.
    void BuildStatementList(TextView script);
    void RunScript();

    const QuestionRecord& record() const { return m_record; }
    const StatementList& statementList() const { return m_list; }
    const VariableStore& variables() const { return m_variables; }
    const BlockStack& blocks() const { return m_blocks; }
    void setObserver(RunObserver* observer)
    {
        m_observer = observer;
        const RunObserver::Watching watching = observer ? observer->watching() : RunObserver::Watching { false, false };
        m_watchStatements = watching.statements;
        m_watchStores = watching.stores;
    }

    // --- For the statement handlers ---------------------------------------
    QuestionRecord& record() { return m_record; }
    VariableStore& variables() { return m_variables; }
    BlockStack& blocks() { return m_blocks; }
    RandomSource& random() { return m_random; }
    std::int32_t programCounter() const { return m_pc; }
    void setProgramCounter(std::int32_t pc) { m_pc = pc; }

    // A fault of a statement step; the last one raised is reported after the
    // statement.
    void raise(Fault fault)
    {
        if (fault != Fault::None) {
            m_pendingFault = fault;
            m_pendingFaultIndex = m_pc;
        }
    }
    // Counts text work (characters read, compared or built) against the run's cap.
    void chargeText(std::size_t characters) { m_work += static_cast<std::int64_t>(characters >> textWorkShift); }
    // Shows an error found by a handler, for the statement at programCounter.
    void ReportScriptError(TextView message);
    // Shows a msgbox text (subject to the per-run message cap).
    void showMessage(const Text& text);
    Text StatementContext(std::int32_t index) const;

    // The store's OperandValue and NumericValue, checked: a fault is raised on
    // the statement, and the answer is whether there was none.
    bool checkedOperandValue(const Ref& ref, Value& out)
    {
        const Fault fault = m_variables.OperandValue(ref, out);
        return checkedValue(fault, out);
    }
    bool checkedNumericValue(const Ref& ref, Value& out)
    {
        const Fault fault = m_variables.NumericValue(ref, out);
        return checkedValue(fault, out);
    }
    // Stores a text the handler built; text may be left holding anything.
    void storeText(const Ref& target, Text& text);
    void storeValue(const Ref& target, const Value& value)
    {
        if (m_watchStores)
            storeValueWatched(target, value);
        else
            raise(m_variables.StoreValue(target, value));
    }
    // storeValue of an int: a resolved int target takes it as it is.
    void storeInt(const Ref& target, std::int16_t value)
    {
        if (!m_watchStores && m_variables.quickStoreInt(target, value))
            return;
        storeValue(target, Value::ofInt(value));
    }
    // storeValue of a finite single; kept says it is the value of its own
    // text already (SingleTextValue), so storing need not round it again.
    void storeSingle(const Ref& target, float value, SingleKept kept = SingleKept::No)
    {
        if (!m_watchStores && m_variables.quickStoreSingle(target, value, kept))
            return;
        storeValue(target, Value::ofSingle(value));
    }
    // Whether every store must be reported to the observer as a store.
    bool watchesStores() const { return m_watchStores; }
    // Appends to a record text, refusing (with overflow) to grow it past the
    // text limit.
    void appendToRecord(RecordField field, const Text& text);
    // Appends to the drawing list (AddDrawing), raising its fault.
    void addDrawing(DrawingCommand command);
    // A text buffer a handler may expand into; reused so that loops building
    // texts do not allocate on every pass. Valid until the next handler.
    Text& scratchText() { return m_expansion; }

private:
    // Raises an operand's fault and charges a text value's length as work.
    bool checkedValue(Fault fault, const Value& value)
    {
        raise(fault);
        if (value.kind == ValueKind::Text)
            chargeText(value.text.size());
        return fault == Fault::None;
    }
    void storeValueWatched(const Ref& target, const Value& value);
    void resetRun();
    // index: the statement the box is about, for the observer.
    void showBox(const Text& text, std::int32_t index);
    Text errorLayout(TextView message, std::int32_t index) const;
    void reportPendingFault(std::int32_t index);

    MessageBox& m_messages;
    RandomSource& m_random;
    RunObserver* m_observer = nullptr;
    bool m_watchStatements = false;
    bool m_watchStores = false;

    StatementList m_list;
    VariableStore m_variables;
    BlockStack m_blocks;
    QuestionRecord m_record;

    std::int32_t m_pc = 0;
    Fault m_pendingFault = Fault::None;
    std::int32_t m_pendingFaultIndex = 0;
    int m_messagesShown = 0;
    std::int64_t m_work = 0;
    Text m_expansion; // reused so that text statements need not allocate
};

} // namespace numbrelle

#include "script/Interpreter.h"

#include "platform/MessageBox.h"
#include "script/Compile.h"
#include "script/Messages.h"
#include "script/Numbers.h"

namespace numbrelle {

namespace {

Text shortened(const Text& text)
{
    if (text.size() <= maxShownStatementChars)
        return text;
    return text.substr(0, maxShownStatementChars) + u"…";
}

} // namespace

Interpreter::Interpreter(MessageBox& messages, RandomSource& random)
    : m_messages(messages)
    , m_random(random)
{
    m_list.entries.resize(1);
}

void Interpreter::BuildStatementList(TextView script)
{
    m_list = numbrelle::BuildStatementList(script);
    CompileStatementList(m_list);
}

void Interpreter::resetRun()
{
    m_record.questionText.clear();
    m_record.answerText.clear();
    m_record.title.clear();
    m_record.descriptionText.clear();
    m_record.categoryText.clear();
    m_variables.clear();
    m_blocks.clear();
    m_record.drawingList = DrawingList {};
    m_pc = 0;
    m_pendingFault = Fault::None;
    m_pendingFaultIndex = 0;
    m_messagesShown = 0;
    m_work = 0;
}

void Interpreter::RunScript()
{
    resetRun();
    if (m_list.tooLong) {
        ReportScriptError(messages::tooManyStatements);
        return;
    }
    const std::int32_t lastIndex = m_list.lastIndex;
    // The body runs at least once: a list without ";" still runs its one entry.
    do {
        if (++m_work > maxStatementsPerRun) {
            if (m_observer)
                m_observer->statementCapHit();
            ReportScriptError(messages::statementCapReached);
            break;
        }
        const std::int32_t index = m_pc;
        const Statement& statement = m_list.entries[static_cast<std::size_t>(index)];
        const CompiledStatement& compiled = statement.compiled;
        bool ran = true;
        if (compiled.isBlock) {
            m_work += compiled.operandWork;
            compiled.handler(*this, statement);
        } else if (m_blocks.skipDepth() > 0) {
            ran = false;
        } else {
            m_work += compiled.operandWork;
            if (compiled.handler)
                compiled.handler(*this, statement);
            else
                ReportScriptError(messages::unknownStatement);
            if (m_pendingFault != Fault::None)
                reportPendingFault(index);
        }
        if (m_watchStatements)
            m_observer->statementPassed(index, ran, m_blocks.size());
        ++m_pc;
    } while (m_pc <= lastIndex);
    // A fault a block statement raised after the last dispatched statement
    // would otherwise go unseen.
    if (m_pendingFault != Fault::None)
        reportPendingFault(m_pendingFaultIndex);
}

void Interpreter::reportPendingFault(std::int32_t index)
{
    if (m_messagesShown > maxMessagesPerRun) {
        // Past the cap nothing is shown, so there is no box text to build.
        m_pendingFault = Fault::None;
        return;
    }
    Text message(messages::errorPrefix);
    message += messages::faultDescription(m_pendingFault);
    m_pendingFault = Fault::None;
    showBox(errorLayout(message, index), index);
}

Text Interpreter::StatementContext(std::int32_t index) const
{
    if (index < 0 || index > m_list.lastIndex)
        return Text(messages::noDate);
    const Statement& statement = m_list.entries[static_cast<std::size_t>(index)];
    Text context = shortened(statement.keyword);
    context += u"    \"";
    context += shortened(statement.operand);
    context += u'"';
    return context;
}

Text Interpreter::errorLayout(TextView message, std::int32_t index) const
{
    Text text(message);
    text += u"\r\n\r\n";
    AppendIntegerText(text, index);
    text += u"    ";
    text += StatementContext(index);
    return text;
}

void Interpreter::ReportScriptError(TextView message)
{
    if (m_messagesShown > maxMessagesPerRun)
        return;
    showBox(errorLayout(message, m_pc), m_pc);
}

void Interpreter::showMessage(const Text& text) { showBox(text, m_pc); }

void Interpreter::showBox(const Text& text, std::int32_t index)
{
    // A script that shows boxes in a loop would otherwise keep the user
    // pressing OK for ever: after the cap, one notice and then silence.
    if (m_messagesShown > maxMessagesPerRun)
        return;
    if (m_messagesShown == maxMessagesPerRun) {
        ++m_messagesShown;
        if (m_observer)
            m_observer->messageCapHit();
        const Text notice = errorLayout(messages::tooManyMessages, index);
        if (m_observer)
            m_observer->messageShown(index, notice);
        m_messages.show(notice);
        return;
    }
    ++m_messagesShown;
    if (m_observer)
        m_observer->messageShown(index, text);
    m_messages.show(text);
}

void Interpreter::storeText(const Ref& target, Text& text)
{
    Location at;
    raise(m_variables.StoreText(target, text, m_watchStores ? &at : nullptr));
    if (m_watchStores && at.entry >= 0)
        m_observer->stored(at, m_variables.entryName(at.type, at.entry), m_variables.read(at));
}

void Interpreter::storeValueWatched(const Ref& target, const Value& value)
{
    Location at;
    raise(m_variables.StoreValue(target, value, m_watchStores ? &at : nullptr));
    if (m_watchStores && at.entry >= 0)
        m_observer->stored(at, m_variables.entryName(at.type, at.entry), m_variables.read(at));
}

void Interpreter::appendToRecord(RecordField field, const Text& text)
{
    Text* target = nullptr;
    switch (field) {
    case RecordField::Question: target = &m_record.questionText; break;
    case RecordField::Title: target = &m_record.title; break;
    case RecordField::Description: target = &m_record.descriptionText; break;
    case RecordField::Category: target = &m_record.categoryText; break;
    case RecordField::Answer: target = &m_record.answerText; break;
    }
    if (target->size() + text.size() > maxTextLength) {
        raise(Fault::Overflow);
        return;
    }
    *target += text;
    if (m_observer)
        m_observer->appended(field, text);
}

void Interpreter::addDrawing(DrawingCommand command)
{
    const Fault fault = AddDrawing(m_record.drawingList, std::move(command));
    raise(fault);
    if (m_observer && fault == Fault::None)
        m_observer->drawn(m_pc);
}

} // namespace numbrelle

// The two operations through which the application uses the language: turn a
// question file into a statement list, and run it once. The window and the
// library depend only on this, so they can be driven without the interpreter.
#pragma once

#include "script/Interpreter.h"

namespace numbrelle {

class QuestionScript {
public:
    virtual ~QuestionScript() = default;
    virtual void BuildStatementList(TextView script) = 0;
    virtual void RunScript() = 0;
    virtual const QuestionRecord& record() const = 0;
};

// The program's own: the interpreter that main owns.
class InterpreterScript final : public QuestionScript {
public:
    explicit InterpreterScript(Interpreter& interpreter)
        : m_interpreter(interpreter)
    {
    }
    void BuildStatementList(TextView script) override { m_interpreter.BuildStatementList(script); }
    void RunScript() override { m_interpreter.RunScript(); }
    const QuestionRecord& record() const override { return m_interpreter.record(); }

private:
    Interpreter& m_interpreter;
};

} // namespace numbrelle

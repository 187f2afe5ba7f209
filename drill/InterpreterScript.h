// The question script as the program runs it: through the interpreter that
// main owns. Kept out of QuestionScript.h so that code using only the
// interface does not pull in the interpreter.
#pragma once

#include "drill/QuestionScript.h"
#include "script/Interpreter.h"

namespace numbrelle {

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

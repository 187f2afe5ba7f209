// The two operations through which the application uses the language: turn a
// question file into a statement list, and run it once. The window and the
// library depend only on this, so they can be driven without the interpreter.
#pragma once

#include "script/QuestionRecord.h"
#include "script/Text.h"

namespace numbrelle {

class QuestionScript {
public:
    virtual ~QuestionScript() = default;
    virtual void BuildStatementList(TextView script) = 0;
    virtual void RunScript() = 0;
    virtual const QuestionRecord& record() const = 0;
};

} // namespace numbrelle

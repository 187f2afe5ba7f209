// A question-script harness for tests: runs scripts with a recording message
// box and a fixed random sequence, and spells the standard error layout.
#pragma once

#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "script/Interpreter.h"
#include "script/Messages.h"
#include "script/Numbers.h"

#include <string>
#include <vector>

namespace numbrelle::testing {

class RecordingBox final : public MessageBox {
public:
    void show(const std::u16string& text) override { texts.push_back(text); }
    std::vector<std::u16string> texts;
};

class FixedRandom final : public RandomSource {
public:
    void seed(std::uint32_t) override { }
    float next() override { return value; }
    float value = 0.5f;
};

struct Harness {
    RecordingBox box;
    FixedRandom random;
    Interpreter interp { box, random };

    const QuestionRecord& run(std::u16string_view script)
    {
        box.texts.clear();
        interp.BuildStatementList(script);
        interp.RunScript();
        return interp.record();
    }
};

// The box text of an error: message, a blank line, index, four blanks, context.
inline std::u16string errorBox(std::u16string_view message, int index, std::u16string_view context)
{
    std::u16string text(message);
    text += u"\r\n\r\n";
    text += IntegerText(index);
    text += u"    ";
    text += context;
    return text;
}

inline std::u16string faultBox(Fault fault, int index, std::u16string_view context)
{
    std::u16string message(messages::errorPrefix);
    message += messages::faultDescription(fault);
    return errorBox(message, index, context);
}

// The context of a statement: keyword, four blanks, the operand in quotes.
inline std::u16string context(std::u16string_view keyword, std::u16string_view operand)
{
    std::u16string text(keyword);
    text += u"    \"";
    text += operand;
    text += u'"';
    return text;
}

} // namespace numbrelle::testing

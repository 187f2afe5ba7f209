#include "drill/NumberBox.h"

#include "script/Numbers.h"

namespace numbrelle {

NumberBoxChange NumberBoxRule(TextView text, std::int16_t current)
{
    NumberBoxChange change;
    std::int16_t value = 0;
    if (ToInt16(text, value) == Fault::None) {
        change.count = value;
    } else if (text.empty()) {
        // An empty box is a learner midway through typing a new number.
        change.count = 1;
    } else {
        change.count = current;
        change.beep = true;
        change.newText = IntegerText(current);
    }
    if (change.count < 1) {
        change.count = 1;
        change.beep = true;
        change.newText = IntegerText(1);
    }
    return change;
}

// Computed in 32 bits: at 32767 the box gets 32768, which the rule refuses,
// so the count stays at the top.
Text SpinUpText(std::int16_t current) { return IntegerText(std::int32_t(current) + 1); }

Text SpinDownText(std::int16_t current) { return IntegerText(std::int32_t(current) - 1); }

} // namespace numbrelle

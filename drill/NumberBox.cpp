#include "drill/NumberBox.h"

#include "script/Numbers.h"

namespace numbrelle {

namespace {

// One "+" or "-", with or without the blanks a number may have around it.
bool isLoneSign(TextView text)
{
    const auto first = text.find_first_not_of(u' ');
    const auto last = text.find_last_not_of(u' ');
    return first != TextView::npos && first == last && (text[first] == u'-' || text[first] == u'+');
}

} // namespace

NumberBoxChange NumberBoxRule(TextView text, std::int16_t current)
{
    NumberBoxChange change;
    std::int16_t value = 0;
    if (ToInt16(text, value) == Fault::None) {
        change.count = value;
    } else if (text.empty()) {
        // An empty box is a learner midway through typing a new number.
        change.count = 1;
    } else if (isLoneSign(text)) {
        // So is a sign typed before the digits: "-3" is typed "-" and then "3".
        change.count = current;
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

// The number-of-questions box: how a text typed into it, or set by its spinner,
// becomes the drill's question count. Kept apart from the widget so the rule
// can be checked on its own.
#pragma once

#include "script/Text.h"

#include <cstdint>
#include <optional>

namespace numbrelle {

struct NumberBoxChange {
    std::int16_t count = 1; // the new QuestionCount
    bool beep = false; // the entry was refused
    std::optional<Text> newText; // what the box must show instead
};

// Applies the box's rule to its new text, given the count in force. An empty
// box or a lone sign is an entry still being typed: kept, without a beep. Setting
// newText runs the rule again, which then keeps it and stays silent.
NumberBoxChange NumberBoxRule(TextView text, std::int16_t current);

// The text the spinner's arrows put into the box (one above or below the count).
Text SpinUpText(std::int16_t current);
Text SpinDownText(std::int16_t current);

} // namespace numbrelle

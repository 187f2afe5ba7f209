// What the learner would find wrong with a question screen, measured on the
// screen itself with its own fonts: printed labels that touch a drawn line or
// one another or leave the picture, a question text cut off at the bottom of
// its area, a title or display name wider than its label.
#pragma once

#include "script/Interpreter.h"
#include "script/Text.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace numbrelle {

class QuestionScreen;

namespace preview {

enum class LayoutProblem {
    LabelOnLine, // a printed label touches a line, an outline or a circle
    LabelOnLabel,
    LabelCovered, // a filled box painted after the label hides it
    LabelOutside, // the label's ink leaves the picture
    QuestionTooTall, // the wrapped question text is taller than its area: its end is cut off
    QuestionTooWide, // a word of it is wider than its area
    TitleTooWide, // Label8, at the layout's size
    NameTooWide, // Label2 on the selection screen, at the layout's size
};

struct LayoutWarning {
    LayoutProblem problem;
    std::int32_t line = 0; // of the statement that drew the label; 0 for the texts
    std::int32_t otherLine = 0; // of what it touches, for labels
    std::string what; // one line, with what was measured
};

// The warnings of the screen as it now shows record (showQuestion has been
// called with it). drawingLines gives the statement line of each drawing entry;
// displayName is what the selection screen would list the file as.
std::vector<LayoutWarning> CheckLayout(const QuestionScreen& screen, const QuestionRecord& record,
    const std::vector<std::int32_t>& drawingLines, TextView displayName);

// How far a label's ink must keep from a line's edge or another label, in
// pixels: anti-aliased edges closer than this look touching.
inline constexpr double labelClearance = 1.0;

} // namespace preview
} // namespace numbrelle

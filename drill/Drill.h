// Marking and scoring of a drill: how a typed answer is compared with the
// accepted answers, and the texts of the marking screen and the result sheet.
// Plain functions, so the rules can be checked without a window.
#pragma once

#include "script/Text.h"

#include <cstdint>
#include <vector>

namespace numbrelle {

// Folds what an input method in full-width mode types into the ASCII a script
// writes, so "１２" marks like "12": each full-width form U+FF01..U+FF5E becomes
// its ASCII character, U+2212 becomes "-", and U+30FC becomes "-" when a digit
// follows it. Nothing else changes: no trimming, case folding or number reading.
Text FoldWideDigit(TextView text);

// The accepted answers of answerText in order: the pieces between its "_".
// "12_１２" gives 12 and １２; "5_" gives 5 and an empty answer; an empty
// answerText gives one empty answer. The views point into answerText.
std::vector<TextView> AcceptedAnswers(TextView answerText);

// Whether typed is one of the accepted answers of answerText (pieces separated
// by "_"; an empty piece accepts an empty answer). Both sides are folded.
bool CheckAnswer(TextView answerText, TextView typed);

// The first accepted answer exactly as the script wrote it.
Text FirstAnswer(TextView answerText);

struct Marking {
    bool right = false;
    Text mark; // Label14
    Text message; // Label12, lines broken with CR LF
};

// The marking screen for a typed answer; the message quotes the answer as typed.
Marking MarkAnswer(TextView answerText, TextView typed);

// Whole seconds from startTime to now, both in seconds since midnight; 0 when
// the clock passed midnight during the drill.
std::int32_t ElapsedSeconds(float startTime, float now);

// "1分5秒", "2分", "7秒"; "0秒" for nothing.
Text TimeText(std::int32_t elapsedSeconds);

// Out of 100, halves to the even neighbour (7 of 8 gives 88, 1 of 8 gives 12).
int Score(int correct, int count);

// "3/20": the question counter shown while asking.
Text CounterText(std::int32_t questionNo, std::int32_t questionCount);

// Label15 and Label17 of the result sheet.
Text ResultHeading(TextView title);
Text ResultSheet(TextView timeText, int questionCount, int correctCount);

} // namespace numbrelle

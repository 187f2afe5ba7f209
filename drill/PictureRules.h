// The rules by which the window draws a question's DrawingList, kept apart
// from the painter: where picture units land, which boxes are filled and
// which pen width each entry leaves in force. The window paints by them and
// the runner's check predicts the picture by them, so the two cannot drift.
#pragma once

#include "script/DrawingList.h"
#include "script/Text.h"

#include <cstdint>
#include <optional>

namespace numbrelle {

// One coordinate in twips: heightTwips / 1000 x units, both taken as 32-bit
// floats and computed in double, rounded halves to even. Nothing when the
// result does not fit 16 bits; the window then keeps the previous entry's.
// On a picture 4500 twips high 500 units give 2250; on one 500 twips high
// 5 units give 2 (2.5 to the even neighbour).
std::optional<std::int16_t> UnitsToTwips(float heightTwips, std::int16_t units);

// Whether a box is drawn filled: its text is "#paint" in any ASCII letter
// case, so "#PAINT" fills too and "#paint " does not.
bool IsPaint(TextView text);

// The pen width a text asks for: a whole number of at least 1 ("3"; "2.5"
// rounds to 2). Nothing for "0", "-3", "abc" or "": such a width is not
// applied and the width in force stays.
std::optional<std::int16_t> PenWidth(TextView text);

// The picture's pen width once entry is drawn, given the width before it. It
// carries over from entry to entry: a line or circle sets its width when it
// is a good one; a box always starts from 1, so a filled box or an outline
// with a bad width leaves 1; a print changes nothing.
int PenWidthAfter(const DrawingCommand& entry, int penWidth);

// Whether the entry gives a pen width that the window refuses: a line, a
// circle or an outlined box with a width text that PenWidth rejects. An empty
// box width is no mistake (the outline is 1 wide), nor is a filled box.
bool IgnoresPenWidth(const DrawingCommand& entry);

} // namespace numbrelle

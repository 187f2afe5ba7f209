// Every run and size limit of the language and of question files, in one
// place. Scripts are written by teachers and a bad one must never hang the
// program or exhaust memory; each limit is far above what an ordinary question
// needs, so only runaway scripts ever meet one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace numbrelle {

// A question file this large is certainly not one; reading it would only
// exhaust memory, so the file system counts it as unreadable.
inline constexpr std::size_t maxQuestionFileBytes = std::size_t { 16 } * 1024 * 1024;

// The statement counter is a signed 16-bit number: a script with more ";" than
// that builds no list, and each run only says so.
inline constexpr std::int32_t maxSemicolons = 32767;

// A run stops after this many statements, so that a loop that never ends
// cannot hang the program; no question script comes near it.
inline constexpr std::int64_t maxStatementsPerRun = 10'000'000;

// Text work counts against the same cap: every 256 characters a statement
// reads or builds weigh as one more statement, so a loop over huge texts ends
// as promptly as a loop of small statements. Ordinary operands never notice.
inline constexpr unsigned textWorkShift = 8;

// After this many boxes in one run, one notice and then silence: a script that
// shows boxes in a loop would otherwise keep the user pressing OK for ever.
inline constexpr int maxMessagesPerRun = 50;

// A box shows this many characters of a statement's keyword and operand; a
// statement of megabytes cannot usefully be shown, and its start says which it is.
inline constexpr std::size_t maxShownStatementChars = 1000;

// The longest text a statement may build; a longer result faults with overflow,
// so that a script doubling a text in a loop cannot exhaust memory.
inline constexpr std::size_t maxTextLength = 1048576;

// All str elements of a run together; each alone may hold maxTextLength.
inline constexpr std::size_t maxStoredTextChars = std::size_t { 16 } * 1048576;

// Each variable table's last index is a signed 16-bit number.
inline constexpr std::int32_t maxTableEntries = 32768;

// The elements of all variables of a run together, so that declarations in a
// loop cannot exhaust memory; 32 arrays of the largest size fit.
inline constexpr std::int64_t maxElements = 1048576;

// A declaration converts its bound text again after every character. Past this
// length the text is taken as no number, so that a huge operand cannot make one
// statement take quadratic time.
inline constexpr std::size_t maxBoundTextLength = 128;

// The block stack's top index is a signed 16-bit number.
inline constexpr std::size_t maxBlockEntries = 32768;

// The drawing list's last index is a signed 16-bit number.
inline constexpr std::size_t maxDrawingEntries = 32768;

// All texts of one picture together; a script printing long texts in a loop
// would otherwise hold gigabytes.
inline constexpr std::size_t maxDrawingTextChars = std::size_t { 4 } * 1048576;

} // namespace numbrelle

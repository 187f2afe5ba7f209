// What one run of a question script leaves for the application: the texts it
// built and its picture. Emptied at the start of every run and filled by
// appending; the application only ever reads it.
#pragma once

#include "script/DrawingList.h"
#include "script/Text.h"

#include <cstdint>

namespace numbrelle {

struct QuestionRecord {
    Text title;
    Text descriptionText;
    Text categoryText;
    Text answerText;
    Text questionText;
    DrawingList drawingList;
};

// Which record text a text statement appends to.
enum class RecordField : std::uint8_t { Question, Title, Description, Category, Answer };

} // namespace numbrelle

// A quiz variant on paper for the class: page one the numbered questions
// with lines to write on (under the blank table for the kinds answered on
// the table), page two the answer key. Portable: only what the pages hold;
// printing and saving go through the worksheet's one path.
#pragma once

#include <vector>

#include "viewer/quiz.h"
#include "viewer/worksheet.h"

namespace viewer {

// "Упражнение – вариант 4711".
std::wstring VariantTitle(int variant);
// The two pages. `table` is the table as its worksheet shows it, drawn on
// page one above the questions when the kind is answered there; the caller
// shows it without symbols while the pages are laid out.
std::vector<SheetContent> VariantSheets(QuizKind kind, int variant, const std::vector<QuizElement>& questions,
                                        const SheetContent& table);

}  // namespace viewer

#include "viewer/quiz_sheet.h"

#include <algorithm>

#include "viewer/window_look.h"

namespace viewer {
namespace {

// Twips, in the table's own frame: its width, and the line of each question.
constexpr int kPageLeft = 240, kPageWidth = 10935, kRowHeight = 330;
constexpr int kQuestionsBelowTable = 6300;
constexpr wchar_t kWritingLine[] = L" ____________________";

// Up to ten lines a column, then two or three columns side by side.
std::vector<SheetText> Columns(const std::vector<std::wstring>& lines, int top) {
  const int columns = lines.size() <= 10 ? 1 : lines.size() <= 34 ? 2 : 3;
  const int rows = static_cast<int>((lines.size() + columns - 1) / columns);
  const int width = kPageWidth / columns;
  std::vector<SheetText> out;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int column = static_cast<int>(i) / rows, row = static_cast<int>(i) % rows;
    out.push_back({{kPageLeft + column * width, top + row * kRowHeight, width - 120, kRowHeight - 60}, lines[i],
                   Verdana(columns == 1 ? 10 : 8.25, false)});
  }
  return out;
}

}  // namespace

std::wstring VariantTitle(int variant) { return L"Упражнение – вариант " + std::to_wstring(variant); }

std::vector<SheetContent> VariantSheets(QuizKind kind, int variant, const std::vector<QuizElement>& questions,
                                        const SheetContent& table) {
  std::vector<std::wstring> asked, key;
  for (size_t i = 0; i < questions.size(); ++i) {
    const std::wstring number = std::to_wstring(i + 1) + L". ";
    asked.push_back(number + QuestionText(kind, questions[i]) + kWritingLine);
    key.push_back(number + AnswerText(kind, questions[i]));
  }
  SheetContent page;
  page.title = VariantTitle(variant);
  page.surface = kWhite;
  if (FindsTile(kind)) {
    page.controls = table.controls;
    page.texts = table.texts;
    page.surface = table.surface;
  }
  const std::vector<SheetText> lines = Columns(asked, FindsTile(kind) ? kQuestionsBelowTable : 0);
  page.texts.insert(page.texts.end(), lines.begin(), lines.end());
  SheetContent answers;
  answers.title = page.title + L": отговори";
  answers.surface = kWhite;
  answers.texts = Columns(key, 0);
  return {page, answers};
}

}  // namespace viewer

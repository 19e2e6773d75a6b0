#include <gtest/gtest.h>

#include <string>

#include "uninstall/caption_fit.h"

namespace {

using gorvix::EstimatedLines;
using gorvix::FittingSize;
using gorvix::LineHeight;

constexpr int kWidth = 4410;    // Label12
constexpr int kHeight = 1320;

const std::wstring kConfirmation =
    L"Вие ще премахнете Zentrik© Vrakel 2002® и всички негови компоненти. Натиснете \"Старт\" за потвърждение";
const std::wstring kSuccess = L"Премахването на програмите на Zentrik завърши успешно. За край натиснете \"Изход\"";
const std::wstring kAllFour =
    L"Премахването на програмите на Zentrik не завърши успешно. Не са премахнати: програмата, препратката, "
    L"записът в списъка с програмите, ключът в регистратурата. За край натиснете \"Изход\"";

bool Fits(const std::wstring& text, double points) {
  return EstimatedLines(text, points, kWidth) * LineHeight(points) <= kHeight;
}

// The line counts the window shows under Wine at the label's own size.
TEST(CaptionFit, TheWindowsOwnTextsTakeTheLinesTheyShow) {
  EXPECT_EQ(EstimatedLines(kConfirmation, 12, kWidth), 4);
  EXPECT_EQ(EstimatedLines(kSuccess, 12, kWidth), 3);
  EXPECT_TRUE(Fits(kConfirmation, 12));
  EXPECT_TRUE(Fits(kSuccess, 12));
  // About four and a half lines of 12 point bold fit the label.
  EXPECT_EQ(kHeight / LineHeight(12), 4);
}

TEST(CaptionFit, LineBreaksAndOverlongWords) {
  EXPECT_EQ(EstimatedLines(L"", 12, kWidth), 1);
  EXPECT_EQ(EstimatedLines(L"Изход", 12, kWidth), 1);
  EXPECT_EQ(EstimatedLines(L"Изход\r\nИзход\nИзход", 12, kWidth), 3);
  // A word wider than the label runs on between letters instead of being
  // counted as one line.
  const std::wstring word(60, L'Ш');
  EXPECT_GE(EstimatedLines(word, 12, kWidth), 4);
  EXPECT_EQ(EstimatedLines(L"а " + word, 12, kWidth), EstimatedLines(word, 12, kWidth) + 1);
  // A smaller size never takes more lines.
  for (double points = 12; points > 8; points -= 0.75)
    EXPECT_LE(EstimatedLines(kAllFour, points - 0.75, kWidth), EstimatedLines(kAllFour, points, kWidth)) << points;
}

TEST(CaptionFit, TheLargestSizeThatFits) {
  EXPECT_EQ(FittingSize(kSuccess, 12, kWidth, kHeight), 12);
  double size = FittingSize(kAllFour, 12, kWidth, kHeight);
  EXPECT_LT(size, 12);
  EXPECT_TRUE(Fits(kAllFour, size)) << size;
  // One pixel larger would not fit.
  EXPECT_FALSE(Fits(kAllFour, size + 0.75)) << size;
  // Nothing fits: the smallest size offered, not a size too small to read.
  EXPECT_EQ(FittingSize(std::wstring(2000, L'Ш'), 12, kWidth, kHeight), 8.25);
  // Already small: kept.
  EXPECT_EQ(FittingSize(kSuccess, 7.5, kWidth, kHeight), 7.5);
}

}  // namespace

#include "viewer/worksheet.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "kit/font.h"
#include "viewer/window_look.h"

namespace viewer {

std::wstring WorksheetTitle(std::optional<Property> property, std::optional<int> states_celsius) {
  std::wstring title = L"Периодична система на химичните елементи";
  if (states_celsius) return title + L": агрегатно състояние при " + std::to_wstring(*states_celsius) + L" °C";
  if (!property) return title;
  return title + L": " + LowerFirst(CaptionOf(*property));
}

std::wstring LowerFirst(std::wstring_view text) {
  std::wstring out(text);
  // Cyrillic capitals lie at U+0410..U+042F, their small letters 0x20 above.
  if (!out.empty() && out[0] >= L'\u0410' && out[0] <= L'\u042F') out[0] = static_cast<wchar_t>(out[0] + 0x20);
  return out;
}

kit::Rect FitInside(int width, int height, const kit::Rect& area) {
  if (width <= 0 || height <= 0 || area.width <= 0 || area.height <= 0) return {area.left, area.top, 0, 0};
  const double scale = std::min(static_cast<double>(area.width) / width, static_cast<double>(area.height) / height);
  const int w = std::min(area.width, static_cast<int>(std::lround(width * scale)));
  const int h = std::min(area.height, static_cast<int>(std::lround(height * scale)));
  return {area.left + (area.width - w) / 2, area.top + (area.height - h) / 2, w, h};
}

kit::Rect WithMargin(int width, int height, int margin_percent, int* outer_width, int* outer_height) {
  const int margin = (std::max(width, height) * margin_percent + 99) / 100;
  *outer_width = width + 2 * margin;
  *outer_height = height + 2 * margin;
  return {margin, margin, width, height};
}

PrintFill CategoryPrintFill(Category category) {
  constexpr kit::Color kWhite = kit::Rgb(0xFF, 0xFF, 0xFF);
  switch (category) {
    case Category::kAlkaliMetal: return {kWhite, Hatch::kForwardDiagonal};
    case Category::kAlkalineEarthMetal: return {kWhite, Hatch::kBackwardDiagonal};
    case Category::kLanthanide: return {kWhite, Hatch::kHorizontal};
    case Category::kActinide: return {kWhite, Hatch::kVertical};
    case Category::kTransitionMetal: return {kit::Rgb(0xD9, 0xD9, 0xD9), Hatch::kNone};
    case Category::kOtherMetal: return {kWhite, Hatch::kCross};
    case Category::kNonmetal: return {kWhite, Hatch::kNone};
    case Category::kNobleGas: return {kWhite, Hatch::kDiagonalCross};
  }
  return {kWhite, Hatch::kNone};
}

PrintFill ScalePrintFill(std::optional<double> position) {
  if (!position) return {kit::Rgb(0xFF, 0xFF, 0xFF), Hatch::kDiagonalCross};
  // Lightest for the lowest values; the darkest step still leaves a black
  // symbol above 4.5:1.
  static constexpr int kGreys[] = {0xFF, 0xE6, 0xCC, 0xB3, 0x99};
  const int step = std::clamp(static_cast<int>(*position * 5), 0, 4);
  return {kit::Rgb(kGreys[step], kGreys[step], kGreys[step]), step % 2 ? Hatch::kHorizontal : Hatch::kNone};
}

PrintFill StatePrintFill(MatterState state) {
  switch (state) {
    case MatterState::kSolid: return {kit::Rgb(0x99, 0x99, 0x99), Hatch::kNone};
    case MatterState::kLiquid: return {kit::Rgb(0xE6, 0xE6, 0xE6), Hatch::kHorizontal};
    case MatterState::kGas: return {kit::Rgb(0xFF, 0xFF, 0xFF), Hatch::kNone};
    case MatterState::kNoData: break;
  }
  return ScalePrintFill(std::nullopt);
}

Sheet LayOutSheet(const SheetContent& content, int width) {
  constexpr kit::Color kBlack = kit::Rgb(0, 0, 0);
  constexpr int kTitleHeight = 360, kTitleGap = 120;
  // The content's extent in twips, the title's line above it.
  int left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
  auto take = [&](int l, int t, int r, int b) {
    left = std::min(left, std::min(l, r));
    top = std::min(top, std::min(t, b));
    right = std::max(right, std::max(l, r));
    bottom = std::max(bottom, std::max(t, b));
  };
  for (const kit::Control* c : content.controls) {
    if (c->Kind() == kit::ControlKind::kLine) {
      auto* l = static_cast<const kit::Line*>(c);
      take(l->x1, l->y1, l->x2, l->y2);
    } else {
      take(c->bounds.left, c->bounds.top, c->bounds.Right(), c->bounds.Bottom());
    }
  }
  for (const SheetText& t : content.texts) take(t.bounds.left, t.bounds.top, t.bounds.Right(), t.bounds.Bottom());
  if (left > right) left = right = top = bottom = 0;
  const kit::Rect title_box{left, top - kTitleHeight - kTitleGap, right - left, kTitleHeight};
  top = title_box.top;

  int outer_w = 0, outer_h = 0;
  // 3 % of the content is 2.8 % of the whole: at least 2 % of the picture
  // on every side, with room for the scale's rounding.
  const kit::Rect inner = WithMargin(right - left, bottom - top, 3, &outer_w, &outer_h);
  Sheet sheet;
  sheet.width = width;
  sheet.dpi = std::max(1, static_cast<int>(static_cast<long long>(width) * 1440 / std::max(1, outer_w)));
  sheet.height = kit::TwipsToPixels(outer_h, sheet.dpi);
  // Form twips to sheet pixels: the content's corner lands inside the
  // margin, the rest of the width split evenly.
  const int pad = (width - kit::TwipsToPixels(outer_w, sheet.dpi)) / 2;
  const int dx = pad + kit::TwipsToPixels(inner.left, sheet.dpi) - kit::TwipsToPixels(left, sheet.dpi);
  const int dy = kit::TwipsToPixels(inner.top, sheet.dpi) - kit::TwipsToPixels(top, sheet.dpi);
  // A pixel of the window, at this scale.
  const int line = std::max(1, static_cast<int>(std::lround(sheet.dpi / 96.0)));
  kit::Appearance title;
  title.kind = kit::ControlKind::kLabel;
  title.place = kit::ToPixels(title_box, sheet.dpi);
  title.shown = true;
  title.has_text = true;
  title.text = content.title;
  title.font = Verdana(12, true);
  title.fore = kBlack;
  title.transparent = true;
  sheet.items.push_back(title);

  for (const kit::Control* c : content.controls) {
    kit::Appearance a = kit::AppearanceOf(*c, sheet.dpi);
    switch (a.kind) {
      case kit::ControlKind::kLabel:
        if (a.transparent) a.fore = kBlack;
        if (a.border) a.pen_width = line;
        break;
      case kit::ControlKind::kShape:
        // Swatches are outlined in the window's colour there; on white
        // they get a black one.
        if (a.pen_width > 0 && a.fore == kit::Resolve(content.surface)) a.fore = kBlack;
        if (a.pen_width > 0) a.pen_width *= line;
        break;
      case kit::ControlKind::kLine: a.pen_width *= line; break;
      default: continue;
    }
    sheet.items.push_back(std::move(a));
  }
  for (const SheetText& t : content.texts) {
    kit::Appearance a = title;
    a.place = kit::ToPixels(t.bounds, sheet.dpi);
    a.text = t.text;
    a.font = t.font;
    sheet.items.push_back(std::move(a));
  }
  MoveSheet(sheet, dx, dy);
  return sheet;
}

bool SheetOutput::Shortcut(wchar_t letter, const std::function<SheetContent()>& content) {
  if (letter == L'C') Copy(content());
  else if (letter == L'S') Save(content());
  else if (letter == L'P') Print(content());
  else return false;
  return true;
}

void MoveSheet(Sheet& sheet, int dx, int dy) {
  for (kit::Appearance& a : sheet.items) {
    a.place = {a.place.left + dx, a.place.top + dy, a.place.right + dx, a.place.bottom + dy};
    a.from = {a.from.x + dx, a.from.y + dy};
    a.to = {a.to.x + dx, a.to.y + dy};
  }
}

}  // namespace viewer

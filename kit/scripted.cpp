#include "kit/scripted.h"

namespace kit {

ScriptedText ParseScripted(std::wstring_view m) {
  ScriptedText out;
  bool any = false;
  for (std::size_t i = 0; i < m.size(); ++i) {
    const wchar_t c = m[i];
    if ((c == L'^' || c == L'_') && i + 1 < m.size()) {
      const Script s = c == L'^' ? Script::kSuper : Script::kSub;
      // "^x" marks x; "^{...}" the run up to its brace, which is dropped.
      std::size_t from = i + 1, to = i + 2, next = i + 1;
      if (const std::size_t close = m.find(L'}', i + 2); m[i + 1] == L'{' && close != std::wstring_view::npos) {
        from = i + 2;
        to = next = close;
      }
      for (std::size_t k = from; k < to; ++k) {
        out.text += m[k];
        out.marks.push_back(s);
      }
      any = any || to > from;
      i = next;
      continue;
    }
    out.text += c;
    out.marks.push_back(Script::kBase);
  }
  if (!any) out.marks.clear();
  return out;
}

std::wstring UnicodeScripted(const ScriptedText& t) {
  static constexpr wchar_t kSuperDigits[] = L"⁰¹²³⁴⁵⁶⁷⁸⁹";
  static constexpr wchar_t kSubDigits[] = L"₀₁₂₃₄₅₆₇₈₉";
  std::wstring out;
  for (std::size_t i = 0; i < t.text.size(); ++i) {
    wchar_t c = t.text[i];
    const Script s = i < t.marks.size() ? t.marks[i] : Script::kBase;
    if (s == Script::kSuper) {
      if (c >= L'0' && c <= L'9') c = kSuperDigits[c - L'0'];
      else if (c == L'+') c = L'⁺';
      else if (c == L'-' || c == L'−') c = L'⁻';
    } else if (s == Script::kSub) {
      if (c >= L'0' && c <= L'9') c = kSubDigits[c - L'0'];
      else if (c == L'+') c = L'₊';
      else if (c == L'-' || c == L'−') c = L'₋';
    }
    out += c;
  }
  return out;
}

std::vector<ScriptRun> ScriptRuns(const ScriptedText& t) {
  std::vector<ScriptRun> runs;
  for (std::size_t i = 0; i < t.text.size(); ++i) {
    const Script s = i < t.marks.size() ? t.marks[i] : Script::kBase;
    if (runs.empty() || runs.back().script != s) runs.push_back({i, i, s});
    runs.back().end = i + 1;
  }
  return runs;
}

}  // namespace kit

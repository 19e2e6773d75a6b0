// Mouse and keyboard input decided on the models: which control a press
// belongs to, the tab order, the keys of a page and arrow moves in a group.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/form.h"
#include "kit/input.h"
#include "kit/platform.h"

namespace {

using kit::Key;

std::vector<std::string> Names(const std::vector<kit::Control*>& controls) {
  std::vector<std::string> out;
  for (auto* c : controls) out.push_back(c->Name());
  return out;
}

// A band with a logo, a caption and a tile over it, a line and a text box.
struct Surface : kit::Form {
  Surface() : kit::Form("surface") {
    band.bounds = {0, 0, 6000, 600};
    logo.bounds = {30, -45, 780, 585};
    title.bounds = {885, 45, 2000, 345};
    title.caption = L"Title";
    tile.bounds = {240, 1260, 615, 495};
    tile.caption = L"H";
    tile.on_click = [this] { ++clicks; };
    tile.on_mouse_down = [this](kit::MouseButton, int, int x, int y) { tile_presses.push_back({x, y}); };
    line.x1 = 1440;
    line.y1 = 3900;
    line.x2 = 1800;
    line.y2 = 3900;
    box.bounds = {3000, 2000, 600, 285};
    on_mouse_down = [this](kit::MouseButton b, int, int, int) { form_presses.push_back(b); };
  }
  kit::Shape band{*this, "band"};
  kit::Image logo{*this, "logo"};
  kit::Label title{*this, "title"};
  kit::Label tile{*this, "tile"};
  kit::Line line{*this, "line"};
  kit::TextBox box{*this, "box"};
  int clicks = 0;
  std::vector<kit::Point> tile_presses;
  std::vector<kit::MouseButton> form_presses;
};

TEST(HitTest, LabelsAndImagesTakeThePressShapesLinesAndSurfaceGiveItToTheForm) {
  kit::ScopedHeadless headless;
  Surface f;
  EXPECT_EQ(kit::HitTest(f, 300, 300), &f.logo);
  EXPECT_EQ(kit::HitTest(f, 1000, 100), &f.title);   // a caption over the band
  EXPECT_EQ(kit::HitTest(f, 4000, 300), nullptr);    // the band
  EXPECT_EQ(kit::HitTest(f, 1500, 3900), nullptr);   // the line
  EXPECT_EQ(kit::HitTest(f, 300, 1300), &f.tile);
  EXPECT_EQ(kit::HitTest(f, 3100, 2100), nullptr);   // a real window answers for itself
  f.tile.visible = false;
  EXPECT_EQ(kit::HitTest(f, 300, 1300), nullptr);
  f.tile.visible = true;
  f.tile.enabled = false;
  EXPECT_EQ(kit::HitTest(f, 300, 1300), nullptr);
}

TEST(HitTest, TheTopmostOfOverlappingLabelsWins) {
  kit::ScopedHeadless headless;
  kit::Form f("f");
  kit::Label heading(f, "heading"), tile(f, "tile");
  heading.bounds = {240, 1020, 615, 255};
  tile.bounds = {240, 1260, 615, 495};
  EXPECT_EQ(kit::HitTest(f, 300, 1265), &tile);      // the shared strip belongs to the later one
  EXPECT_EQ(kit::HitTest(f, 300, 1100), &heading);
  EXPECT_EQ(kit::HitTest(f, 300, 1274), &tile);
  EXPECT_EQ(kit::HitTest(f, 300, 1755), nullptr);    // right and bottom edges are outside
}

TEST(Mouse, PressOnSurfaceIsTheFormsAndOnALabelIsTheLabels) {
  kit::ScopedHeadless headless;
  Surface f;
  kit::MouseDown(f, kit::MouseButton::kRight, 0, 4000, 300);
  kit::MouseDown(f, kit::MouseButton::kLeft, 0, 1500, 3900);
  EXPECT_EQ(f.form_presses, (std::vector<kit::MouseButton>{kit::MouseButton::kRight, kit::MouseButton::kLeft}));
  kit::MouseUp(f, kit::MouseButton::kLeft, 1500, 3900);
  EXPECT_EQ(f.clicks, 0);

  kit::MouseDown(f, kit::MouseButton::kLeft, 0, 300, 1300);
  EXPECT_EQ(f.form_presses.size(), 2u);   // no drag from a tile
  ASSERT_EQ(f.tile_presses.size(), 1u);
  EXPECT_EQ(f.tile_presses[0], (kit::Point{60, 40}));   // in the tile's own coordinates
  EXPECT_EQ(f.clicks, 0);
  kit::MouseUp(f, kit::MouseButton::kLeft, 320, 1320);
  EXPECT_EQ(f.clicks, 1);

  // Released elsewhere, or the press taken away: no click.
  kit::MouseDown(f, kit::MouseButton::kLeft, 0, 300, 1300);
  kit::MouseUp(f, kit::MouseButton::kLeft, 4000, 300);
  kit::MouseDown(f, kit::MouseButton::kLeft, 0, 300, 1300);
  kit::CancelPress(f);
  kit::MouseUp(f, kit::MouseButton::kLeft, 300, 1300);
  // The right button presses a label but never clicks it.
  kit::MouseDown(f, kit::MouseButton::kRight, 0, 300, 1300);
  kit::MouseUp(f, kit::MouseButton::kRight, 300, 1300);
  EXPECT_EQ(f.clicks, 1);
  EXPECT_EQ(f.tile_presses.size(), 4u);

  // A quick second press is a press like the first: two presses, two clicks.
  kit::MouseDown(f, kit::MouseButton::kLeft, 0, 300, 1300);
  kit::MouseUp(f, kit::MouseButton::kLeft, 300, 1300);
  kit::MouseDown(f, kit::MouseButton::kLeft, 0, 300, 1300);
  kit::MouseUp(f, kit::MouseButton::kLeft, 300, 1300);
  EXPECT_EQ(f.clicks, 3);
}

// A wizard page: a step list down the left, a text, a box and three buttons.
struct Page : kit::Form {
  Page() : kit::Form("page") {
    auto button = [this](kit::Label& l, const wchar_t* caption, kit::Rect r) {
      l.caption = caption;
      l.bounds = r;
      l.on_click = [this, &l] { clicked.push_back(l.Name()); };
    };
    button(step1, L"Начало", {240, 1200, 1000, 255});
    button(step2, L"Лиценз", {240, 1700, 1000, 255});
    text.caption = L"Welcome";
    text.bounds = {2000, 1200, 4000, 1000};
    box.bounds = {2000, 2400, 3000, 285};
    // Tops 60 twips apart (4 pixels) still make one row.
    button(back, L"Предишен", {3000, 4665, 990, 450});
    button(next, L"Следващ", {4215, 4725, 990, 450});
    button(cancel, L"Отказ", {7515, 4695, 1050, 450});
    default_action = &next;
    cancel_action = &cancel;
  }
  kit::Label step1{*this, "step1"};
  kit::Label step2{*this, "step2"};
  kit::Label text{*this, "text"};
  kit::TextBox box{*this, "box"};
  kit::Label cancel{*this, "cancel"};   // created before Back and Next: order comes from places
  kit::Label back{*this, "back"};
  kit::Label next{*this, "next"};
  std::vector<std::string> clicked;
};

TEST(TabOrder, ByRowsTopToBottomThenLeftToRightSkippingWhatCannotAct) {
  kit::ScopedHeadless headless;
  Page p;
  p.Show();
  EXPECT_EQ(Names(kit::TabOrder(p)), (std::vector<std::string>{"step1", "step2", "box", "back", "next", "cancel"}));
  p.step2.visible = false;
  p.back.enabled = false;
  EXPECT_EQ(Names(kit::TabOrder(p)), (std::vector<std::string>{"step1", "box", "next", "cancel"}));
  // A tab index comes first, in its own order.
  p.cancel.tab_index = 1;
  p.box.tab_index = 0;
  EXPECT_EQ(Names(kit::TabOrder(p)), (std::vector<std::string>{"box", "cancel", "step1", "next"}));
}

TEST(Keys, APageOpensWithNoLabelFocusedSoEnterAndEscAreItsActions) {
  kit::ScopedHeadless headless;
  Page p;
  p.Show();
  EXPECT_EQ(p.Focused(), nullptr);
  EXPECT_TRUE(kit::KeyDown(p, Key::kEnter));
  EXPECT_TRUE(kit::KeyDown(p, Key::kEscape));
  EXPECT_FALSE(kit::KeyDown(p, Key::kSpace));   // nothing to press: the key goes on
  EXPECT_EQ(p.clicked, (std::vector<std::string>{"next", "cancel"}));

  // Tab to the first step label: now Enter and Space are its click.
  EXPECT_TRUE(kit::KeyDown(p, Key::kTab));
  EXPECT_EQ(p.Focused(), &p.step1);
  EXPECT_TRUE(kit::KeyDown(p, Key::kEnter));
  EXPECT_TRUE(kit::KeyDown(p, Key::kSpace));
  EXPECT_EQ(p.clicked.size(), 4u);
  EXPECT_EQ(p.clicked[2], "step1");
  EXPECT_EQ(p.clicked[3], "step1");
  // Ctrl+Enter is a command of the form's or nothing, never the click.
  EXPECT_FALSE(kit::KeyDown(p, Key::kEnter, kit::kControlKey));
  EXPECT_EQ(p.clicked.size(), 4u);

  // In the text box Enter is still the page's default action.
  kit::KeyDown(p, Key::kTab);
  kit::KeyDown(p, Key::kTab);
  EXPECT_EQ(p.Focused(), &p.box);
  EXPECT_TRUE(kit::KeyDown(p, Key::kEnter));
  EXPECT_FALSE(kit::KeyDown(p, Key::kLeft));   // the box's own caret key
  EXPECT_EQ(p.clicked.back(), "next");

  // Shift+Tab goes back and wraps at both ends.
  kit::KeyDown(p, Key::kTab, kit::kShiftKey);
  kit::KeyDown(p, Key::kTab, kit::kShiftKey);
  kit::KeyDown(p, Key::kTab, kit::kShiftKey);
  EXPECT_EQ(p.Focused(), &p.cancel);
  kit::KeyDown(p, Key::kTab);
  EXPECT_EQ(p.Focused(), &p.step1);

  // Hidden and shown again, the page starts over without a focused label.
  p.Hide();
  p.Show();
  EXPECT_EQ(p.Focused(), nullptr);
}

TEST(Keys, AFocusedLabelThatIsHiddenNoLongerTakesEnter) {
  kit::ScopedHeadless headless;
  Page p;
  p.Show();
  p.SetFocus(&p.back);
  p.back.visible = false;   // the page hid its Back label meanwhile
  kit::KeyDown(p, Key::kEnter);
  EXPECT_EQ(p.clicked, (std::vector<std::string>{"next"}));
  // Without actions, Enter and Esc are left to the window.
  p.default_action = p.cancel_action = nullptr;
  EXPECT_FALSE(kit::KeyDown(p, Key::kEnter));
  EXPECT_FALSE(kit::KeyDown(p, Key::kEscape));
}

// A small grid: two rows of three cells with a gap, and a short row below.
struct Grid : kit::Form {
  Grid() : kit::Form("grid") {
    auto cell = [this](kit::Label& l, int left, int top) {
      l.bounds = {left, top, 615, 495};
      l.on_click = [] {};
      l.tab_group = 1;
      l.tab_index = 1;
    };
    cell(a, 0, 0);
    cell(b, 600, 0);
    cell(c, 1800, 0);   // a gap at 1200
    cell(d, 0, 480);
    cell(e, 1200, 480);
    cell(f, 1500, 1200);
    box.tab_index = 0;
    close.on_click = [] {};
    close.bounds = {3000, 0, 300, 300};
    close.tab_index = 2;
  }
  kit::TextBox box{*this, "box"};
  kit::Label a{*this, "a"}, b{*this, "b"}, c{*this, "c"}, d{*this, "d"}, e{*this, "e"}, f{*this, "f"};
  kit::Label close{*this, "close"};
};

TEST(Focus, FollowsTheSystemIntoARealControlOnceAndNotAgain) {
  kit::ScopedHeadless headless;
  Surface f;
  f.Show();
  int changes = 0;
  f.on_focus_change = [&](kit::Control*, kit::Control*) { ++changes; };
  kit::FocusFollowsSystem(f.box);
  EXPECT_EQ(f.Focused(), &f.box);
  const unsigned serial = f.FocusSerial();
  kit::FocusFollowsSystem(f.box);   // the system's notice again
  EXPECT_EQ(f.FocusSerial(), serial);
  EXPECT_EQ(changes, 1);
}

TEST(Group, IsOneTabStopEnteredOnItsFirstOrLastFocusedMember) {
  kit::ScopedHeadless headless;
  Grid g;
  g.Show();
  EXPECT_EQ(Names(kit::TabOrder(g)), (std::vector<std::string>{"box", "a", "close"}));
  kit::KeyDown(g, Key::kTab);
  kit::KeyDown(g, Key::kTab);
  EXPECT_EQ(g.Focused(), &g.a);
  kit::KeyDown(g, Key::kRight);
  EXPECT_EQ(g.Focused(), &g.b);
  kit::KeyDown(g, Key::kTab);
  EXPECT_EQ(g.Focused(), &g.close);
  kit::KeyDown(g, Key::kTab, kit::kShiftKey);
  EXPECT_EQ(g.Focused(), &g.b);   // back where it left the group
  EXPECT_EQ(Names(kit::FocusOrder(g)), (std::vector<std::string>{"box", "a", "b", "c", "d", "e", "f", "close"}));
}

TEST(Group, ArrowsMoveByPlacesAndStopAtTheEdges) {
  kit::ScopedHeadless headless;
  Grid g;
  auto move = [&](kit::Label& from, Key key) { return kit::GroupNeighbour(g, from, key)->Name(); };
  EXPECT_EQ(move(g.b, Key::kRight), "c");    // over the gap
  EXPECT_EQ(move(g.c, Key::kRight), "c");    // the row's end
  EXPECT_EQ(move(g.a, Key::kLeft), "a");
  EXPECT_EQ(move(g.b, Key::kHome), "a");
  EXPECT_EQ(move(g.a, Key::kEnd), "c");
  EXPECT_EQ(move(g.a, Key::kDown), "d");
  // Under b (600..1215) lie d by 15 twips, its shared frame, and e by 15:
  // neither counts, and the next row has nothing under b either.
  EXPECT_EQ(move(g.b, Key::kDown), "b");
  // Under c (1800..2415): e's frame only in the next row; f (1500..2115)
  // two rows down overlaps it.
  EXPECT_EQ(move(g.c, Key::kDown), "f");
  EXPECT_EQ(move(g.f, Key::kUp), "e");   // e (1200..1815) is nearer by its centre than c
  EXPECT_EQ(move(g.d, Key::kUp), "a");
  EXPECT_EQ(move(g.a, Key::kUp), "a");
}

}  // namespace

// What the backend hands the form from the keyboard, per place of the focus:
// a text box keeps its arrows and Space, an open list keeps everything, and
// Ctrl or Alt combinations are the system's.
TEST(Keys, RoutedToTheFormByWhereTheFocusIs) {
  using kit::KeyFocus;
  struct Case {
    KeyFocus focus;
    Key key;
    int modifiers;
    bool to_form;
  } cases[] = {
      {KeyFocus::kForm, Key::kRight, 0, true},         {KeyFocus::kForm, Key::kSpace, 0, true},
      {KeyFocus::kForm, Key::kTab, kit::kShiftKey, true}, {KeyFocus::kForm, Key::kEnter, kit::kAltKey, false},
      {KeyFocus::kControl, Key::kTab, kit::kShiftKey, true}, {KeyFocus::kControl, Key::kEscape, 0, true},
      {KeyFocus::kControl, Key::kLeft, 0, false},      {KeyFocus::kControl, Key::kHome, 0, false},
      {KeyFocus::kControl, Key::kTab, kit::kControlKey, false}, {KeyFocus::kOpenList, Key::kEnter, 0, false},
      {KeyFocus::kOpenList, Key::kEscape, 0, false},
      // Ctrl+Enter, Ctrl+Home and Ctrl+End from the form's own window only.
      {KeyFocus::kForm, Key::kEnter, kit::kControlKey, true}, {KeyFocus::kForm, Key::kHome, kit::kControlKey, true},
      {KeyFocus::kControl, Key::kHome, kit::kControlKey, false}, {KeyFocus::kForm, Key::kLeft, kit::kControlKey, false},
      {KeyFocus::kControl, Key::kPageDown, 0, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(kit::RouteKey(c.focus, c.key, c.modifiers), c.to_form)
        << static_cast<int>(c.focus) << " key " << static_cast<int>(c.key) << " mods " << c.modifiers;
  EXPECT_TRUE(kit::RouteKey(KeyFocus::kControl, Key::kPageDown, 0, true));
  EXPECT_FALSE(kit::RouteKey(KeyFocus::kOpenList, Key::kPageDown, 0, true));
}

// Ctrl+letter is the form's command from anywhere in the window, but a text
// box keeps its editing keys, and Ctrl+C while it has text selected.
TEST(Keys, ShortcutsReachTheFormExceptATextBoxsOwnEditingKeys) {
  using F = kit::KeyFocus;
  EXPECT_TRUE(kit::RouteShortcut(F::kForm, L'C', false));
  EXPECT_TRUE(kit::RouteShortcut(F::kControl, L'C', false));
  EXPECT_FALSE(kit::RouteShortcut(F::kControl, L'C', true));
  EXPECT_TRUE(kit::RouteShortcut(F::kControl, L'S', true));
  EXPECT_TRUE(kit::RouteShortcut(F::kControl, L'P', false));
  for (wchar_t editing : {L'A', L'X', L'V', L'Z'}) EXPECT_FALSE(kit::RouteShortcut(F::kControl, editing, false));
  EXPECT_FALSE(kit::RouteShortcut(F::kOpenList, L'S', false));
  EXPECT_FALSE(kit::RouteShortcut(F::kForm, L'1', false));
}

// When the window gets the focus back, and where a new window first stands.
TEST(Focus, FallsBackIntoARealControlThatCanTakeItElseStaysOnTheForm) {
  kit::ScopedHeadless ui;
  Surface s;
  s.Show();
  auto fallback = kit::FallbackFocus(s);
  EXPECT_EQ(fallback.into_window, nullptr);
  EXPECT_EQ(fallback.on_form, nullptr);
  s.SetFocus(&s.tile);
  fallback = kit::FallbackFocus(s);
  EXPECT_EQ(fallback.into_window, nullptr);
  EXPECT_EQ(fallback.on_form, &s.tile);
  s.SetFocus(&s.box);
  EXPECT_EQ(kit::FallbackFocus(s).into_window, &s.box);
  s.box.enabled = false;   // disabled since: the form keeps the focus, shown on nothing
  fallback = kit::FallbackFocus(s);
  EXPECT_EQ(fallback.into_window, nullptr);
  EXPECT_EQ(fallback.on_form, nullptr);

  s.SetSize(4500, 3000);   // 300 x 200 pixels
  kit::Rect work{0, 0, 1024, 738};
  EXPECT_EQ(kit::WindowOrigin(s, 300, 200, work), (kit::Point{362, 269}));
  s.centered = false;
  s.left = 1500;
  s.top = -150;
  EXPECT_EQ(kit::WindowOrigin(s, 300, 200, work), (kit::Point{100, -10}));
}

TEST(PaintableUntilUsed, OnlyAnEmptyEnabledOneLineBoxWhoseLookIsItsFrameAndColour) {
  kit::ScopedHeadless ui;
  Surface s;
  EXPECT_TRUE(kit::PaintableUntilUsed(s.box));
  EXPECT_FALSE(kit::PaintableUntilUsed(s.title));   // a label has no window to wait for
  s.box.text = L"26";
  EXPECT_FALSE(kit::PaintableUntilUsed(s.box));
  s.box.text.clear();
  s.box.enabled = false;   // greyed, as each system greys it
  EXPECT_FALSE(kit::PaintableUntilUsed(s.box));
  s.box.enabled = true;
  s.box.multi_line = true;
  EXPECT_FALSE(kit::PaintableUntilUsed(s.box));
}

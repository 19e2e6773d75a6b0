// What a screen reader reads of a form: the children's order, names, roles,
// states, places and default actions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/accessibility.h"
#include "kit/form.h"
#include "kit/input.h"
#include "kit/platform.h"

namespace {

struct Small : kit::Form {
  Small() : kit::Form("small") {
    band.bounds = {0, 0, 3000, 600};
    heading.caption = L"Атомен номер";
    heading.bounds = {1200, 700, 1200, 255};
    number.bounds = {300, 700, 600, 285};
    number.text = L"26";
    number.labelled_by = &heading;
    close.caption = L"X";
    close.accessible_name = L"Затвори";
    close.bounds = {2700, 15, 330, 525};
    close.on_click = [this] { ++closes; };
    tile.caption = L"Fe";
    tile.description = L"Транзитивни метали";
    tile.bounds = {300, 1200, 615, 495};
    tile.on_click = [this] { ++shows; };
    accept.caption = L"Приемам";
    accept.bounds = {300, 2000, 1500, 255};
    hidden.caption = L"Orbitals";
    hidden.visible = false;
    off.caption = L"Следващ";
    off.on_click = [] {};
    off.enabled = false;
    off.bounds = {2000, 2000, 900, 300};
    drive.bounds = {300, 2400, 2000, 300};
    drive.accessible_name = L"Устройство";
  }
  kit::Shape band{*this, "band"};
  kit::Label heading{*this, "heading"};
  kit::TextBox number{*this, "number"};
  kit::Label close{*this, "close"};
  kit::Label tile{*this, "tile"};
  kit::OptionButton accept{*this, "accept"};
  kit::Label hidden{*this, "hidden"};
  kit::Label off{*this, "off"};
  kit::DriveList drive{*this, "drive"};
  int closes = 0, shows = 0;
};

const kit::AccessibleChild& Find(const std::vector<kit::AccessibleChild>& all, const std::string& name) {
  for (const auto& a : all)
    if (a.control->Name() == name) return a;
  ADD_FAILURE() << "no child " << name;
  return all.front();
}

TEST(Accessible, ChildrenAreTheFocusableInTabOrderThenTheRestThenTheHiddenWithoutDrawings) {
  kit::ScopedHeadless headless;
  Small f;
  f.Show();
  std::vector<std::string> names;
  for (const auto& a : kit::AccessibleChildren(f)) names.push_back(a.control->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"close", "number", "tile", "accept", "drive", "heading", "off",
                                              "hidden"}));
}

TEST(Accessible, NamesRolesStatesPlacesAndActions) {
  kit::ScopedHeadless headless;
  Small f;
  f.Show();
  f.SetFocus(&f.tile);
  auto all = kit::AccessibleChildren(f);

  const auto& tile = Find(all, "tile");
  EXPECT_EQ(tile.name, L"Fe");
  EXPECT_EQ(tile.role, kit::Role::kPushButton);
  EXPECT_EQ(tile.description, L"Транзитивни метали");
  EXPECT_EQ(tile.bounds, (kit::Rect{300, 1200, 615, 495}));
  EXPECT_TRUE(tile.focusable);
  EXPECT_TRUE(tile.focused);
  EXPECT_FALSE(tile.default_action.empty());

  const auto& number = Find(all, "number");
  EXPECT_EQ(number.name, L"Атомен номер");   // the caption of its label
  EXPECT_EQ(number.role, kit::Role::kEditableText);
  EXPECT_EQ(number.value, L"26");
  EXPECT_FALSE(number.focused);

  EXPECT_EQ(Find(all, "close").name, L"Затвори");   // a name that says what "X" does
  EXPECT_EQ(Find(all, "heading").role, kit::Role::kStaticText);
  EXPECT_TRUE(Find(all, "heading").default_action.empty());
  EXPECT_FALSE(Find(all, "heading").focusable);
  EXPECT_EQ(Find(all, "accept").role, kit::Role::kRadioButton);
  EXPECT_EQ(Find(all, "drive").name, L"Устройство");
  EXPECT_EQ(Find(all, "drive").role, kit::Role::kComboBox);
  EXPECT_TRUE(Find(all, "hidden").invisible);
  EXPECT_TRUE(Find(all, "off").unavailable);
  EXPECT_FALSE(Find(all, "off").focusable);

  f.accept.SetValue(true);
  EXPECT_TRUE(kit::Describe(f, f.accept).checked);

  // A label-button that stands for a table's cell keeps its action.
  f.tile.role = kit::Role::kCell;
  EXPECT_EQ(kit::Describe(f, f.tile).role, kit::Role::kCell);
  EXPECT_FALSE(kit::Describe(f, f.tile).default_action.empty());
  // Text boxes, lists and trackbars have a value, read out even when empty.
  EXPECT_TRUE(number.has_value);
  EXPECT_TRUE(Find(all, "drive").has_value);
  EXPECT_FALSE(tile.has_value);
  EXPECT_FALSE(Find(all, "accept").has_value);
  EXPECT_FALSE(number.read_only);
  f.number.read_only = true;
  EXPECT_TRUE(kit::Describe(f, f.number).read_only);
}

TEST(Accessible, TheFormTellsEveryEventOfItsOwnControlsButNotTheNamesOfRealOnes) {
  kit::ScopedHeadless headless;
  Small f;
  for (auto event : {kit::AccessEvent::kFocus, kit::AccessEvent::kNameChange, kit::AccessEvent::kValueChange})
    EXPECT_TRUE(kit::FormRaises(f.tile, event));
  EXPECT_TRUE(kit::FormRaises(f.number, kit::AccessEvent::kFocus));
  EXPECT_TRUE(kit::FormRaises(f.number, kit::AccessEvent::kValueChange));
  EXPECT_FALSE(kit::FormRaises(f.number, kit::AccessEvent::kNameChange));
  EXPECT_FALSE(kit::FormRaises(f.accept, kit::AccessEvent::kNameChange));
  EXPECT_TRUE(kit::FormRaises(f.number, kit::AccessEvent::kAlert));   // an error shown in a box
}

TEST(Accessible, DefaultActionDoesWhatAClickDoes) {
  kit::ScopedHeadless headless;
  Small f;
  f.Show();
  EXPECT_TRUE(kit::DoDefaultAction(f.tile));
  EXPECT_TRUE(kit::DoDefaultAction(f.close));
  EXPECT_EQ(f.shows, 1);
  EXPECT_EQ(f.closes, 1);
  EXPECT_TRUE(kit::DoDefaultAction(f.accept));
  EXPECT_TRUE(f.accept.Value());
  EXPECT_TRUE(kit::DoDefaultAction(f.number));
  EXPECT_EQ(f.Focused(), &f.number);
  EXPECT_FALSE(kit::DoDefaultAction(f.off));
  EXPECT_FALSE(kit::DoDefaultAction(f.hidden));
}

}  // namespace

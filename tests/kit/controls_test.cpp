#include <gtest/gtest.h>

#include <map>

#include "kit/control.h"
#include "kit/form.h"
#include "kit/platform.h"

namespace {

TEST(OptionButton, SelectingOneClearsTheOthersOfItsGroup) {
  kit::ScopedHeadless headless;
  kit::Form form("Form2");
  kit::OptionButton a(form, "Option1"), b(form, "Option2"), other(form, "Option3");
  other.group = 1;
  other.SetValue(true);
  b.SetValue(true);
  int clicks = 0;
  a.on_click = [&] { ++clicks; };
  a.SetValue(true);
  EXPECT_TRUE(a.Value());
  EXPECT_FALSE(b.Value());
  EXPECT_TRUE(other.Value());
  EXPECT_EQ(clicks, 1);
}

TEST(PictureBox, ClsRestoresBackgroundAndPicture) {
  kit::ScopedHeadless headless;
  kit::Form form("Form6");
  kit::PictureBox box(form, "MeterBox");
  box.bounds = {0, 0, 1500, 1500};  // 100 x 100 pixels at 96 DPI
  box.back_color = kit::Rgb(0, 168, 255);
  box.fore_color = kit::Rgb(1, 2, 3);
  box.DrawCircle(750, 750, 600);
  box.picture = box.Image();
  box.fore_color = kit::Rgb(9, 9, 9);
  box.DrawLine(750, 750, 750, 0);
  EXPECT_GT(box.Image().CountColor(kit::Rgb(9, 9, 9)), 40);
  box.Cls();
  EXPECT_EQ(box.Image().CountColor(kit::Rgb(9, 9, 9)), 0);
  EXPECT_GT(box.Image().CountColor(kit::Rgb(1, 2, 3)), 200);
  EXPECT_EQ(box.Image().Width(), 100);
}

struct FakeFolders {
  std::map<std::wstring, std::vector<std::wstring>> tree;
  kit::FolderList::Source Source() {
    return [this](const std::wstring& f) -> std::optional<std::vector<std::wstring>> {
      auto it = tree.find(f);
      if (it == tree.end()) return std::nullopt;
      return it->second;
    };
  }
};

TEST(FolderList, PathsAncestorsAndSubfolderCount) {
  kit::ScopedHeadless headless;
  kit::Form form("Form4");
  kit::FolderList dir(form, "Dir1");
  FakeFolders fs;
  fs.tree[L"C:\\"] = {L"Windows", L"Program Files"};
  fs.tree[L"C:\\Program Files"] = {L"Zentrik", L"Common Files"};
  fs.tree[L"C:\\Program Files\\Zentrik"] = {};
  dir.source = fs.Source();
  int changes = 0;
  dir.on_change = [&] { ++changes; };

  ASSERT_TRUE(dir.SetPath(L"C:\\Program Files\\"));
  EXPECT_EQ(dir.Path(), L"C:\\Program Files");
  EXPECT_EQ(dir.ListCount(), 2);
  EXPECT_EQ(dir.Lines(), (std::vector<std::wstring>{L"C:\\", L"C:\\Program Files", L"C:\\Program Files\\Common Files",
                                                   L"C:\\Program Files\\Zentrik"}));
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(dir.SetPath(L"C:\\Program Files"));
  EXPECT_EQ(changes, 1);  // same path: no change event

  dir.Open(3);
  EXPECT_EQ(dir.Path(), L"C:\\Program Files\\Zentrik");
  EXPECT_EQ(dir.ListCount(), 0);

  // A drive as the drive list names it means its root.
  ASSERT_TRUE(dir.SetPath(L"c: [System]"));
  EXPECT_EQ(dir.Path(), L"C:\\");
  // An unreadable folder changes nothing.
  EXPECT_FALSE(dir.SetPath(L"D:\\"));
  EXPECT_EQ(dir.Path(), L"C:\\");
  EXPECT_EQ(changes, 3);
}

TEST(DriveList, ReadsAsTheListShowsItAndRaisesChangeOnAPick) {
  kit::ScopedHeadless headless;
  kit::Form form("Form4");
  kit::DriveList drive(form, "Drive1");
  drive.SetDrives({{L"A:\\", L""}, {L"C:\\", L"System"}, {L"D:\\", L""}}, L"C:\\");
  EXPECT_EQ(drive.Drive(), L"c: [System]");
  int changes = 0;
  drive.on_change = [&] { ++changes; };
  drive.Select(2);
  drive.Select(2);
  EXPECT_EQ(drive.Drive(), L"d:");
  EXPECT_EQ(changes, 1);
}

}  // namespace

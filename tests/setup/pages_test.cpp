// What the pages compute: the licence text, the destination folder and its
// proposals, the free-space figure and its number format.
#include <gtest/gtest.h>

#include <limits>

#include "kit/platform.h"
#include "os/fake/fake_os.h"
#include "setup/number_format.h"
#include "setup/pages.h"
#include "setup/wizard.h"

namespace {

using Strings = std::vector<std::wstring>;

size_t Count(const std::wstring& text, const std::wstring& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

Strings Split(const std::wstring& text, const std::wstring& separator) {
  Strings parts;
  size_t from = 0;
  for (size_t at; (at = text.find(separator, from)) != std::wstring::npos; from = at + separator.size())
    parts.push_back(text.substr(from, at - from));
  parts.push_back(text.substr(from));
  return parts;
}

TEST(Licence, IntroductionThenFiveParagraphsJoinedByCrLf) {
  kit::ScopedHeadless headless;
  setup::Form2 page;
  EXPECT_EQ(page.rtf.text, L"Text1");
  page.FillLicence();
  const std::wstring& text = page.rtf.text;
  EXPECT_EQ(Count(text, L"\r\n"), 5u);
  EXPECT_EQ(Count(text, L"\r"), 5u);
  EXPECT_EQ(Count(text, L"\n"), 5u);
  Strings parts = Split(text, L"\r\n");
  ASSERT_EQ(parts.size(), 6u);
  EXPECT_EQ(parts[0],
            L"Прочетете внимателно преди да продължите! В натискането на бутона \"Аз приемам\" вие "
            L"автоматично приемате условията на това споразумение ");
  EXPECT_EQ(parts[1].rfind(L"1. ЛИЦЕНЗНО РАЗРЕШИТЕЛНО. ", 0), 0u);
  EXPECT_EQ(parts[2].rfind(L"2. АВТОРСКИ ПРАВА. ", 0), 0u);
  EXPECT_EQ(parts[3],
            L"3. ДРУГИ ОГРАНИЧЕНИЯ. Нямате право да извършвате обратно проектиране, да декомпирилате или "
            L"деасемблирате софтуера.");
  EXPECT_EQ(parts[4].rfind(L"4. ГАРАНЦИЯ. ", 0), 0u);
  EXPECT_EQ(parts[5],
            L"5. Нарушителите носят отговорност по Закона за авторското право и средните му права в "
            L"Република България и условията на международните договори.");
  EXPECT_EQ(Count(parts[1], L"Zentrik"), 2u);
  EXPECT_EQ(Count(parts[2], L"Zentrik"), 1u);
  EXPECT_EQ(Count(parts[4], L"Zentrik"), 2u);
  EXPECT_NE(text.back(), L'\n');
}

class DestinationTest : public ::testing::Test {
 protected:
  Strings Created() {
    Strings out;
    for (const auto& call : fake.files.CallsOf("CreateFolder")) out.push_back(call.path);
    return out;
  }
  std::wstring Create(std::wstring path) {
    fake.files.ClearCalls();
    page.CreateNewDirectory(path);
    return path;
  }
  // The installer's destination page shown, then line `item` of its drive
  // list, which reads `drive`, picked.
  setup::Form4& ShowAndPick(setup::Installer& app, int item, const std::wstring& drive) {
    setup::Form4& f = app.form4();
    f.Show();
    EXPECT_EQ(f.Drive1.Item(item), drive);
    f.Drive1.Select(item);
    return f;
  }

  kit::ScopedHeadless headless;
  os::fake::FakeOs fake;
  setup::Form4 page{fake.files};
};

TEST_F(DestinationTest, CreatesEveryLevelBelowTheDrive) {
  EXPECT_EQ(Create(L"C:\\Program Files\\Zentrik"), L"C:\\Program Files\\Zentrik\\");
  EXPECT_EQ(Created(), (Strings{L"C:\\Program Files", L"C:\\Program Files\\Zentrik"}));
  EXPECT_TRUE(fake.files.FolderExists(L"C:\\Program Files\\Zentrik"));
  // Again: the levels exist, the failures pass silently.
  Create(L"C:\\Program Files\\Zentrik");
  EXPECT_EQ(Created().size(), 2u);
  EXPECT_TRUE(fake.files.FolderExists(L"C:\\Program Files\\Zentrik"));
}

TEST_F(DestinationTest, TrailingBackslashIsKeptAndNothingAppended) {
  EXPECT_EQ(Create(L"C:\\a\\b\\"), L"C:\\a\\b\\");
  EXPECT_EQ(Created(), (Strings{L"C:\\a", L"C:\\a\\b"}));
}

TEST_F(DestinationTest, DriveAloneCreatesNothing) {
  EXPECT_EQ(Create(L"C:"), L"C:\\");
  EXPECT_TRUE(Created().empty());
  EXPECT_EQ(Create(L"C:\\"), L"C:\\");
  EXPECT_TRUE(Created().empty());
  EXPECT_EQ(Create(L""), L"\\");
  EXPECT_TRUE(Created().empty());
}

TEST_F(DestinationTest, NetworkPathTriesEachLevelInTurn) {
  Create(L"\\\\server\\share\\Zentrik");
  EXPECT_EQ(Created(), (Strings{L"\\\\server", L"\\\\server\\share", L"\\\\server\\share\\Zentrik"}));
}

TEST_F(DestinationTest, FolderListProposesZentrikBelowTheChosenFolder) {
  fake.files.MakeFolders(L"C:\\Program Files");
  fake.files.AddDrive(L"D:\\", L"DATA", std::nullopt);
  page.Dir1.SetPath(L"C:\\Program Files\\");
  EXPECT_EQ(page.Text1.text, L"C:\\Program Files\\Zentrik");
  page.Dir1.SetPath(L"C:\\");
  EXPECT_EQ(page.Text1.text, L"C:\\Zentrik");
  page.Dir1.SetPath(L"C:\\windows\\System");
  EXPECT_EQ(page.Text1.text, L"C:\\windows\\System\\Zentrik");
  // Every root already ends in its separator: no second one, on any drive
  // and in either letter case.
  page.Dir1.SetPath(L"D:\\");
  EXPECT_EQ(page.Text1.text, L"D:\\Zentrik");
  page.Dir1.SetPath(L"c:\\");
  EXPECT_EQ(page.Text1.text, L"c:\\Zentrik");
}

TEST_F(DestinationTest, EmptyDriveIsAFolderListWithoutSubfolders) {
  fake.files.MakeFolders(L"C:\\Program Files");
  fake.files.AddDrive(L"E:\\", L"", os::DiskSpace{1, 512, 100000, 100000});
  setup::Installer app(fake.services, {});
  setup::Form4& f = ShowAndPick(app, 1, L"e:");
  EXPECT_EQ(f.Drive1.Drive(), L"e:");
  EXPECT_EQ(f.Dir1.Path(), L"E:\\");
  EXPECT_EQ(f.Dir1.Lines(), Strings{L"E:\\"});
  EXPECT_EQ(f.Dir1.ListCount(), 0);
  EXPECT_EQ(f.Text1.text, L"E:\\Zentrik");
}

TEST_F(DestinationTest, FirstShowingOpensProgramFiles) {
  fake.files.MakeFolders(L"C:\\Program Files\\Common Files");
  setup::Installer app(fake.services, {});
  kit::Click(app.form1().Label10);
  app.form2().Option1.SetValue(true);
  kit::Click(app.form2().Label10);
  setup::Form4& f = app.form4();
  EXPECT_EQ(f.Dir1.Path(), L"C:\\Program Files");
  EXPECT_EQ(f.Dir1.Lines(), (Strings{L"C:\\", L"C:\\Program Files", L"C:\\Program Files\\Common Files"}));
  EXPECT_EQ(f.Text1.text, L"C:\\Program Files\\Zentrik");
  EXPECT_EQ(f.Drive1.Drive(), L"c: [SYSTEM]");

  // A folder chosen by double-click stays chosen after Back and forward.
  f.Dir1.Open(2);
  EXPECT_EQ(f.Text1.text, L"C:\\Program Files\\Common Files\\Zentrik");
  kit::Click(f.Label12);
  kit::Click(app.form2().Label10);
  EXPECT_EQ(f.Dir1.Path(), L"C:\\Program Files\\Common Files");
  EXPECT_EQ(f.Text1.text, L"C:\\Program Files\\Common Files\\Zentrik");
}

TEST_F(DestinationTest, WithoutProgramFilesThePageKeepsItsDesignValues) {
  setup::Installer app(fake.services, {});
  app.form4().Show();
  EXPECT_EQ(app.form4().Dir1.Path(), L"C:\\");
  EXPECT_EQ(app.form4().Text1.text, L"C:\\Program Files\\Zentrik");
}

TEST_F(DestinationTest, UnreadableDriveKeepsThePreviousChoice) {
  fake.files.MakeFolders(L"C:\\Program Files");
  fake.files.AddDrive(L"A:\\", L"", std::nullopt);
  fake.files.FailPath(L"A:\\");
  fake.files.AddDrive(L"D:\\", L"DATA", std::nullopt);
  setup::Installer app(fake.services, {});
  setup::Form4& f = ShowAndPick(app, 0, L"a:");
  EXPECT_EQ(f.Drive1.Drive(), L"c: [SYSTEM]");
  EXPECT_EQ(f.Dir1.Path(), L"C:\\Program Files");
  EXPECT_EQ(f.Text1.text, L"C:\\Program Files\\Zentrik");

  f.Drive1.Select(2);
  EXPECT_EQ(f.Dir1.Path(), L"D:\\");
  EXPECT_EQ(f.Text1.text, L"D:\\Zentrik");
  f.Drive1.Select(0);   // back to D:, not to C:
  EXPECT_EQ(f.Drive1.Drive(), L"d: [DATA]");
  EXPECT_EQ(f.Dir1.Path(), L"D:\\");
}

class DiskSpaceTest : public ::testing::Test {
 protected:
  std::wstring Caption(std::optional<os::DiskSpace> space, const std::wstring& path = L"C:\\Program Files\\Zentrik") {
    fake.files.SetFreeSpace(L"C:\\", space);
    page.Measure(path);
    return page.Label14.caption;
  }
  kit::ScopedHeadless headless;
  os::fake::FakeOs fake;
  setup::Form5 page{fake.files, setup::NumberLocale{}};
};

TEST_F(DiskSpaceTest, FifteenThousandIsCutAfterTwoDecimals) {
  EXPECT_EQ(Caption(os::DiskSpace{1, 1000, 15000, 20000}), L"Налично дисково пространство:14,64 mb");
  EXPECT_EQ(page.FreeKB, 15000);
  EXPECT_DOUBLE_EQ(page.FreeMegabytes(), 14.64);
  EXPECT_TRUE(page.SpaceSuffices());
  EXPECT_EQ(fake.files.CallsOf("FreeSpace").back().path, L"C:\\");
}

TEST_F(DiskSpaceTest, ExactlyTenMegabytesIsNotEnough) {
  EXPECT_EQ(Caption(os::DiskSpace{1, 1000, 10240, 20000}), L"Налично дисково пространство:10 mb");
  EXPECT_FALSE(page.SpaceSuffices());
  // 10,0097... shows as 10,00 and is still refused; 10,01 passes.
  Caption(os::DiskSpace{1, 1000, 10250, 20000});
  EXPECT_EQ(page.Label14.caption, L"Налично дисково пространство:10,00 mb");
  EXPECT_FALSE(page.SpaceSuffices());
  Caption(os::DiskSpace{1, 1000, 10251, 20000});
  EXPECT_EQ(page.Label14.caption, L"Налично дисково пространство:10,01 mb");
  EXPECT_TRUE(page.SpaceSuffices());
}

TEST_F(DiskSpaceTest, FailedOrEmptyQueriesShowZero) {
  page.FreeKB = 77;
  EXPECT_EQ(Caption(std::nullopt), L"Налично дисково пространство:0 mb");
  EXPECT_EQ(page.FreeKB, 0);
  EXPECT_FALSE(page.SpaceSuffices());
  EXPECT_EQ(Caption(os::DiskSpace{8, 512, 0, 20000}), L"Налично дисково пространство:0 mb");
  EXPECT_FALSE(page.SpaceSuffices());
  EXPECT_EQ(Caption(os::DiskSpace{8, 512, 5000, 20000}, L"\\\\server\\share\\Zentrik"),
            L"Налично дисково пространство:0 mb");
  EXPECT_EQ(fake.files.CallsOf("FreeSpace").back().path, L"\\\\s");
}

TEST_F(DiskSpaceTest, RoundsToEvenAndClampsBeyondThirtyTwoBits) {
  // 4096-byte clusters: 1234 clusters are 5054,464 thousand bytes.
  Caption(os::DiskSpace{8, 512, 1234, 20000});
  EXPECT_EQ(page.FreeKB, 5054);
  // 0,5 thousand bytes rounds to the even 0, 1,5 to 2.
  Caption(os::DiskSpace{1, 1, 500, 20000});
  EXPECT_EQ(page.FreeKB, 0);
  Caption(os::DiskSpace{1, 1, 1500, 20000});
  EXPECT_EQ(page.FreeKB, 2);
  // 3 TB free: far beyond 2^31 thousand bytes.
  EXPECT_EQ(Caption(os::DiskSpace{8, 512, 3'000'000'000'000ull / 4096, 1ull << 40}),
            L"Налично дисково пространство:2097151,99 mb");
  EXPECT_EQ(page.FreeKB, std::numeric_limits<std::int32_t>::max());
  EXPECT_TRUE(page.SpaceSuffices());
  // A cluster size beyond 32 bits does not wrap round to nothing.
  Caption(os::DiskSpace{0x10000, 0x10000, 2, 2});
  EXPECT_EQ(page.FreeKB, 8589935);
}

TEST(NumberFormat, GroupsInTheLocaleAndReadsBack) {
  setup::NumberLocale bg;
  setup::NumberLocale en{L",", L"."};
  EXPECT_EQ(setup::FormatGrouped(15000, bg), L"15\u00A0000");
  EXPECT_EQ(setup::FormatGrouped(1234567, en), L"1,234,567");
  EXPECT_EQ(setup::FormatGrouped(999, en), L"999");
  EXPECT_EQ(setup::FormatGrouped(0, en), L"");
  EXPECT_EQ(setup::FormatGrouped(std::numeric_limits<std::int64_t>::min(), en).substr(0, 3), L"-9,");
  EXPECT_EQ(setup::ParseGrouped(L"1,234,567", en), 1234567);
  EXPECT_EQ(setup::ParseGrouped(L"15\u00A0000", bg), 15000);
  EXPECT_EQ(setup::ParseGrouped(L"", bg), 0);
  EXPECT_EQ(setup::ParseGrouped(L"12x", bg), 0);
  EXPECT_EQ(setup::ParseGrouped(L"99999999999999999999999", bg), 0);
}

TEST(NumberFormat, GeneralFormatAndTheCutFollowTheLocale) {
  setup::NumberLocale bg;
  setup::NumberLocale en{L",", L"."};
  EXPECT_EQ(setup::FormatGeneral(14.6484375, bg), L"14,6484375");
  EXPECT_EQ(setup::FormatGeneral(10, bg), L"10");
  double shown = -1;
  EXPECT_EQ(setup::FreeMegabytesText(15000, true, bg, &shown), L"14,64");
  EXPECT_DOUBLE_EQ(shown, 14.64);
  // Only a "," is cut: a point-decimal locale shows the whole figure.
  EXPECT_EQ(setup::FreeMegabytesText(15000, true, en, &shown), L"14.6484375");
  EXPECT_DOUBLE_EQ(shown, 14.6484375);
  EXPECT_EQ(setup::FreeMegabytesText(15000, false, bg, &shown), L"0");
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(setup::FreeMegabytesText(1536, true, bg, nullptr), L"1,5");
}

TEST(Frame, StepListHighlightsTheOwnStepAndNamesTheThirdStep) {
  kit::ScopedHeadless headless;
  setup::Form1 welcome;
  setup::Form6 copying;
  EXPECT_EQ(welcome.Label8.fore_color, kit::Rgb(0, 0, 64));
  for (kit::Label* l : {&welcome.Label2, &welcome.Label4, &welcome.Label5, &welcome.Label6, &welcome.Label7})
    EXPECT_EQ(l->fore_color, kit::Rgb(192, 192, 255)) << l->Name();
  EXPECT_EQ(welcome.Label4.caption, L"Път");
  EXPECT_EQ(welcome.Label4.bounds, (kit::Rect{570, 1935, 555, 345}));
  EXPECT_EQ(copying.Label4.caption, L"Програми");
  EXPECT_EQ(copying.Label4.bounds.width, 1485);
  EXPECT_EQ(copying.Label6.fore_color, kit::Rgb(0, 0, 64));
  EXPECT_EQ(welcome.Width(), 9165);
  welcome.Show();
  EXPECT_EQ(welcome.Shape2.bounds, (kit::Rect{0, 0, 9165, 600}));
  EXPECT_EQ(welcome.Shape3.bounds, (kit::Rect{0, 585, 2190, 4575}));
  // The shared controls lie beneath the page's own.
  EXPECT_EQ(welcome.Controls().front(), &welcome.Shape2);
  EXPECT_FALSE(copying.MeterPos.visible);
  EXPECT_FALSE(copying.Label12.visible);
  EXPECT_FALSE(copying.Label18.visible);
}

}  // namespace

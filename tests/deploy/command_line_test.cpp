#include "deploy/command_line.h"

#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

using deploy::Program;

deploy::ParsedCommandLine ForSetup(std::wstring_view args) { return deploy::ParseArguments(args, Program::kSetup); }
deploy::ParsedCommandLine ForGorvix(std::wstring_view args) { return deploy::ParseArguments(args, Program::kUninstall); }

TEST(CommandLine, ProgramNameIsSkippedQuotedOrNot) {
  EXPECT_EQ(deploy::ArgumentsOf(L"\"C:\\Program Files\\x\\Setup.exe\" /S"), L" /S");
  EXPECT_EQ(deploy::ArgumentsOf(L"Setup.exe /S /D=C:\\a b"), L" /S /D=C:\\a b");
  EXPECT_EQ(deploy::ArgumentsOf(L"Setup.exe"), L"");
  EXPECT_EQ(deploy::ArgumentsOf(L"\"C:\\open quote"), L"");
}

TEST(CommandLine, NoSwitchesIsTheInteractiveProgram) {
  for (auto args : {L"", L"   "}) {
    auto r = ForSetup(args);
    ASSERT_TRUE(r.ok);
    EXPECT_FALSE(r.options.silent);
    EXPECT_TRUE(r.options.folder.empty());
    EXPECT_TRUE(r.options.log.empty());
  }
}

TEST(CommandLine, EverySilentSpellingInAnyCase) {
  for (auto args : {L"/S", L"/s", L"/SILENT", L"/VerySilent", L"/S /SUPPRESSMSGBOXES /NORESTART"}) {
    auto r = ForGorvix(args);
    ASSERT_TRUE(r.ok) << args;
    EXPECT_TRUE(r.options.silent) << args;
  }
  EXPECT_FALSE(ForSetup(L"/NORESTART").options.silent);
  EXPECT_TRUE(ForSetup(L"/?").options.usage);
}

TEST(CommandLine, NsisFolderRunsToTheEndOfTheLineUnquoted) {
  auto r = ForSetup(L"/S /LOG=C:\\x.log /D=C:\\Моите програми\\Zentrik /S  ");
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(r.options.silent);
  EXPECT_EQ(r.options.log, L"C:\\x.log");
  // Everything after /D= is the folder, even what looks like a switch.
  EXPECT_EQ(r.options.folder, L"C:\\Моите програми\\Zentrik /S");
}

TEST(CommandLine, InnoValuesQuotedInsideOrAroundTheSwitch) {
  auto r = ForSetup(L"/VERYSILENT /DIR=\"C:\\Program Files\\Z e\" /LOG=\"C:\\log dir\\a.txt\" /NORESTART");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.options.folder, L"C:\\Program Files\\Z e");
  EXPECT_EQ(r.options.log, L"C:\\log dir\\a.txt");
  r = ForSetup(L"\"/DIR=C:\\a b\" \"/LOG=C:\\c d.txt\" /SILENT");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.options.folder, L"C:\\a b");
  EXPECT_EQ(r.options.log, L"C:\\c d.txt");
  EXPECT_TRUE(r.options.silent);
  EXPECT_EQ(ForSetup(L"/dir=D:\\x /s").options.folder, L"D:\\x");
}

TEST(CommandLine, BadCommandLinesAreRefusedWithAReason) {
  for (auto args : {L"/X", L"/S /Q", L"S", L"/S extra", L"/D=", L"/D=   ", L"/DIR=", L"/DIR=\"\"",
                    L"/DIR=\"C:\\open", L"/LOG=", L"/DIR=\"C:\\a\"b", L"\"/S", L"\"/S /X\"", L"/SILENTLY",
                    L"/LOG"}) {
    auto r = ForSetup(args);
    EXPECT_FALSE(r.ok) << args;
    EXPECT_FALSE(r.error.empty()) << args;
  }
  // The destination belongs to the installer only.
  EXPECT_FALSE(ForGorvix(L"/S /D=C:\\x").ok);
  EXPECT_FALSE(ForGorvix(L"/DIR=C:\\x").ok);
}

TEST(CommandLine, ARefusedLineThatAskedForSilenceIsKnownAsSuch) {
  for (auto args : {L"/S /X", L"/x \"/VERYSILENT\"", L"/suppressmsgboxes /D=", L"/LOG= /silent"})
    EXPECT_TRUE(deploy::AsksForSilence(args)) << args;
  for (auto args : {L"/X", L"/SILENTLY", L"/D=C:\\S", L"/LOG=/S.txt", L""})
    EXPECT_FALSE(deploy::AsksForSilence(args)) << args;
}

}  // namespace

namespace {

struct Shown {
  std::vector<std::pair<std::wstring, bool>> boxes;
  std::function<void(const std::wstring&, bool)> Show() {
    return [this](const std::wstring& text, bool error) { boxes.emplace_back(text, error); };
  }
};

TEST(AnswerCommandLine, ARefusedLineEndsWithTwoAndShowsWhyUnlessSilenceWasAsked) {
  Shown shown;
  deploy::Options options;
  EXPECT_EQ(deploy::AnswerCommandLine(L"/X", deploy::Program::kSetup, &options, shown.Show()), 2);
  ASSERT_EQ(shown.boxes.size(), 1u);
  EXPECT_TRUE(shown.boxes[0].second);
  EXPECT_NE(shown.boxes[0].first.find(deploy::UsageText(deploy::Program::kSetup)), std::wstring::npos);
  EXPECT_NE(shown.boxes[0].first.find(L"/X"), std::wstring::npos);
  // A deployment tool that asked for no window gets the exit code alone.
  EXPECT_EQ(deploy::AnswerCommandLine(L"/S /X", deploy::Program::kUninstall, &options, shown.Show()), 2);
  EXPECT_EQ(shown.boxes.size(), 1u);
}

TEST(AnswerCommandLine, UsageEndsWithZeroAndAGoodLineGoesOn) {
  Shown shown;
  deploy::Options options;
  EXPECT_EQ(deploy::AnswerCommandLine(L"/?", deploy::Program::kUninstall, &options, shown.Show()), 0);
  ASSERT_EQ(shown.boxes.size(), 1u);
  EXPECT_EQ(shown.boxes[0], std::make_pair(deploy::UsageText(deploy::Program::kUninstall), false));

  EXPECT_EQ(deploy::AnswerCommandLine(L"/S /LOG=\"C:\\l.txt\" /D=C:\\Z k", deploy::Program::kSetup, &options,
                                      shown.Show()),
            std::nullopt);
  EXPECT_EQ(shown.boxes.size(), 1u);
  EXPECT_TRUE(options.silent);
  EXPECT_EQ(options.log, L"C:\\l.txt");
  EXPECT_EQ(options.folder, L"C:\\Z k");
}

}  // namespace

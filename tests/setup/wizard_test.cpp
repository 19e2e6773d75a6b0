// The wizard's navigation: reached marks, the step list, Next, Back, Cancel,
// the message dialog and the finish page, against the in-memory system.
#include <gtest/gtest.h>

#include "kit/platform.h"
#include "os/fake/fake_os.h"
#include "setup/wizard.h"

namespace {

const std::wstring kNotReached = L"Този етап не е преминат";

class WizardTest : public ::testing::Test {
 protected:
  WizardTest() {
    fake.files.MakeFolders(L"C:\\Program Files\\Common Files");
    // 15 000 thousand bytes free on C: (15000 clusters of 1000 bytes): enough.
    fake.files.SetFreeSpace(L"C:\\", os::DiskSpace{2, 500, 15000, 100000});
  }

  bool MessageShown() { return app.Exists(msg_ptr()) && app.msg().Visible(); }
  const kit::Form* msg_ptr() {
    for (kit::Form* f : kit::LiveForms())
      if (f->Name() == "frmMsg") return f;
    return nullptr;
  }
  bool Exists(const std::string& name) {
    for (kit::Form* f : kit::LiveForms())
      if (f->Name() == name) return true;
    return false;
  }
  int FreeSpaceQueries() { return static_cast<int>(fake.files.CallsOf("FreeSpace").size()); }

  // Welcome -> licence (accepted) -> destination -> disk space.
  void WalkToDiskPage() {
    kit::Click(app.form1().Label10);
    app.form2().Option1.SetValue(true);
    kit::Click(app.form2().Label10);
    kit::Click(app.form4().Label10);
  }

  kit::ScopedHeadless headless;
  os::fake::FakeOs fake;
  setup::Installer app{fake.services, setup::NumberLocale{}};
};

TEST_F(WizardTest, StartsOnTheWelcomePageAloneAndUnmarked) {
  EXPECT_TRUE(app.form1().Visible());
  EXPECT_TRUE(app.form1().Tag.empty());
  for (const char* name : {"Form2", "Form4", "Form5", "Form6", "Form7", "frmMsg", "frmExit"})
    EXPECT_FALSE(Exists(name)) << name;
}

TEST_F(WizardTest, WelcomeStepIsRefusedUntilItsOwnNext) {
  kit::Click(app.form1().Label8);
  EXPECT_TRUE(MessageShown());
  EXPECT_EQ(app.msg().Msg.caption, kNotReached);
  EXPECT_TRUE(app.form1().Visible());

  kit::Click(app.msg().Label11);
  EXPECT_FALSE(app.msg().Visible());
  kit::Click(app.form1().Label10);
  EXPECT_EQ(app.form1().Tag, L"1");
  EXPECT_EQ(app.form2().Tag, L"1");
  EXPECT_FALSE(app.form1().Visible());
  EXPECT_TRUE(app.form2().Visible());
  EXPECT_FALSE(Exists("Form4"));

  kit::Click(app.form2().Label8);
  EXPECT_TRUE(app.form1().Visible());
  EXPECT_FALSE(app.form2().Visible());
  EXPECT_FALSE(app.msg().Visible());
}

TEST_F(WizardTest, LicenceNextDoesNothingUntilAccepted) {
  kit::Click(app.form1().Label10);
  EXPECT_TRUE(app.form2().Option2.Value());
  kit::Click(app.form2().Label10);
  EXPECT_TRUE(app.form2().Visible());
  EXPECT_FALSE(Exists("Form4"));
  EXPECT_FALSE(Exists("frmMsg"));

  app.form2().Option1.SetValue(true);
  EXPECT_FALSE(app.form2().Option2.Value());
  kit::Click(app.form2().Label10);
  EXPECT_FALSE(app.form2().Visible());
  EXPECT_TRUE(app.form4().Visible());
  EXPECT_EQ(app.form4().Tag, L"1");
  EXPECT_FALSE(Exists("Form5"));
}

TEST_F(WizardTest, CheckStepBeforeReachedLoadsTheDiskPageButRefuses) {
  kit::Click(app.form1().Label10);
  kit::Click(app.form2().Label5);
  EXPECT_EQ(app.msg().Msg.caption, kNotReached);
  EXPECT_TRUE(app.form2().Visible());
  // Loaded now, measured on the path then standing on the destination page.
  ASSERT_TRUE(Exists("Form5"));
  EXPECT_FALSE(app.form5().Visible());
  EXPECT_FALSE(app.form4().Visible());
  EXPECT_EQ(app.form5().Label14.caption, L"Налично дисково пространство:14,64 mb");
  EXPECT_EQ(FreeSpaceQueries(), 1);

  // Reached later by Next, it is not measured again, even on another drive.
  fake.files.AddDrive(L"D:\\", L"DATA", os::DiskSpace{1, 1000, 20, 20});
  app.form2().Option1.SetValue(true);
  kit::Click(app.form2().Label10);
  app.form4().Text1.text = L"D:\\Zentrik";
  kit::Click(app.form4().Label10);
  EXPECT_TRUE(app.form5().Visible());
  EXPECT_EQ(FreeSpaceQueries(), 1);
  EXPECT_EQ(app.form5().Label14.caption, L"Налично дисково пространство:14,64 mb");
}

TEST_F(WizardTest, ForwardWalkCreatesTheFolderAndReachesTheCopyingPage) {
  WalkToDiskPage();
  EXPECT_TRUE(fake.files.FolderExists(L"C:\\Program Files\\Zentrik"));
  EXPECT_EQ(app.form4().Text1.text, L"C:\\Program Files\\Zentrik");
  // Measuring took the drive root, and so selected it in the destination box.
  EXPECT_EQ(app.form4().Text1.sel_start, 0);
  EXPECT_EQ(app.form4().Text1.sel_length, 3);
  EXPECT_TRUE(app.form5().Visible());
  EXPECT_FALSE(app.form4().Visible());
  for (auto* page : std::initializer_list<setup::WizardPage*>{&app.form1(), &app.form2(), &app.form4(), &app.form5()})
    EXPECT_EQ(page->Tag, L"1") << page->Name();
  EXPECT_FALSE(Exists("Form6"));

  kit::Click(app.form5().Label10);
  EXPECT_FALSE(app.form5().Visible());
  EXPECT_TRUE(app.form6().Visible());
  EXPECT_EQ(app.form6().Tag, L"1");
  EXPECT_FALSE(Exists("frmMsg"));
}

TEST_F(WizardTest, StepListReopensEveryReachedPageAfterGoingBack) {
  WalkToDiskPage();
  kit::Click(app.form5().Label12);
  EXPECT_TRUE(app.form4().Visible());
  kit::Click(app.form4().Label12);
  EXPECT_TRUE(app.form2().Visible());
  // Declining now does not clear the marks already set.
  app.form2().Option2.SetValue(true);
  kit::Click(app.form2().Label5);
  EXPECT_TRUE(app.form5().Visible());
  EXPECT_FALSE(app.form2().Visible());
  EXPECT_EQ(app.form5().Label14.caption, L"Налично дисково пространство:14,64 mb");
  EXPECT_EQ(FreeSpaceQueries(), 1);
  kit::Click(app.form5().Label4);
  EXPECT_TRUE(app.form4().Visible());
  kit::Click(app.form4().Label6);   // the copying page is not reached yet
  EXPECT_EQ(app.msg().Msg.caption, kNotReached);
  EXPECT_TRUE(app.form4().Visible());
  EXPECT_FALSE(Exists("Form7"));
}

TEST_F(WizardTest, OwnHighlightedStepKeepsThePage) {
  kit::Click(app.form1().Label10);
  kit::Click(app.form2().Label2);
  EXPECT_TRUE(app.form2().Visible());
  EXPECT_FALSE(app.form1().Visible());
  EXPECT_FALSE(Exists("frmMsg"));
}

TEST_F(WizardTest, BackToWelcomeAndForwardDoesNotRefillTheLicence) {
  kit::Click(app.form1().Label10);
  app.form2().rtf.text += L" (scrolled)";
  std::wstring text = app.form2().rtf.text;
  kit::Click(app.form2().Label12);
  EXPECT_TRUE(app.form1().Visible());
  EXPECT_FALSE(app.form2().Visible());
  kit::Click(app.form1().Label10);
  EXPECT_EQ(app.form2().rtf.text, text);
}

TEST_F(WizardTest, CancelAsksAgainAfterNoAndYesEndsTheProgram) {
  kit::Click(app.form1().Label10);
  kit::Click(app.form2().Label11);
  ASSERT_TRUE(Exists("frmExit"));
  EXPECT_TRUE(app.exit_dialog().Visible());
  EXPECT_TRUE(app.form2().Visible());
  kit::Click(app.exit_dialog().Label10);
  EXPECT_FALSE(app.ExitDialogExists());
  EXPECT_TRUE(app.form2().Visible());

  kit::Click(app.form2().Label11);
  ASSERT_TRUE(app.ExitDialogExists());
  EXPECT_TRUE(app.exit_dialog().Visible());
  EXPECT_THROW(kit::Click(app.exit_dialog().Label12), kit::ProgramEnded);
  EXPECT_TRUE(headless.platform.ended);
}

TEST_F(WizardTest, CloseKeysOnAPageAskAsCancelDoes) {
  kit::Dispatch(app.form1().on_close_request);
  ASSERT_TRUE(app.ExitDialogExists());
  EXPECT_TRUE(app.exit_dialog().Visible());
  kit::Dispatch(app.exit_dialog().on_close_request);
  EXPECT_FALSE(app.ExitDialogExists());
  EXPECT_TRUE(app.form1().Visible());
  EXPECT_FALSE(headless.platform.ended);
}

TEST_F(WizardTest, SecondMessageReusesTheOpenDialog) {
  app.ShowMessage(L"първо");
  const kit::Form* first = msg_ptr();
  app.ShowMessage(L"второ");
  EXPECT_EQ(msg_ptr(), first);
  EXPECT_EQ(app.msg().Msg.caption, L"второ");
  EXPECT_TRUE(app.msg().Visible());
  // The page behind stays usable while the message is open.
  kit::Click(app.form1().Label10);
  EXPECT_TRUE(app.form2().Visible());
}

TEST_F(WizardTest, MessageDialogFitsItsMessageLabel) {
  app.ShowMessage(kNotReached);
  setup::frmMsg& m = app.msg();
  EXPECT_EQ(m.Width(), m.Msg.bounds.width + 2 * m.Msg.bounds.left);
  EXPECT_EQ(m.Width(), 4200 + 2 * 1140);
  EXPECT_EQ(m.Label11.bounds.left, 6480 - 480 - 100);
  EXPECT_EQ(m.Label11.bounds.left, m.Width() - m.Label11.bounds.width - 100);
  EXPECT_EQ(m.Shape1.bounds, (kit::Rect{0, 0, m.Width(), m.Height()}));
}

TEST_F(WizardTest, DiskPageRefusalTurnsTheFigureRedAndStays) {
  fake.files.SetFreeSpace(L"C:\\", os::DiskSpace{1, 1000, 10240, 100000});
  WalkToDiskPage();
  EXPECT_EQ(app.form5().Label14.caption, L"Налично дисково пространство:10 mb");
  kit::Click(app.form5().Label10);
  EXPECT_EQ(app.msg().Msg.caption, L"Нямате достатъчно диково пространство");
  EXPECT_TRUE(app.msg().Visible());
  EXPECT_EQ(app.form5().Label14.fore_color, kit::Rgb(255, 0, 0));
  EXPECT_TRUE(app.form5().Visible());
  EXPECT_FALSE(Exists("Form6"));
  EXPECT_TRUE(app.form5().Tag == L"1");
}

TEST_F(WizardTest, StartRunsTheInstallationHookThatEndsOnTheFinishPage) {
  WalkToDiskPage();
  kit::Click(app.form5().Label10);
  int runs = 0;
  app.run_installation = [&] {
    ++runs;
    app.ShowFinishPage();
  };
  kit::Click(app.form6().Label10);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(app.form6().Visible());
  EXPECT_TRUE(app.form7().Visible());
  EXPECT_EQ(app.form7().Label4.caption, L"Програми");
  EXPECT_EQ(app.form7().Label7.fore_color, kit::Rgb(0, 0, 64));
}

// "Старт" runs the installation inside its click, and the installation
// handles window messages while it waits; what the user does meanwhile must
// neither start it again nor leave the copying page nor end the program.
TEST_F(WizardTest, WhileInstallingNothingStartsLeavesOrEndsTheInstallation) {
  WalkToDiskPage();
  kit::Click(app.form5().Label10);
  setup::Form6& copying = app.form6();
  kit::Click(copying.Label11);   // the cancel question, opened before "Старт" and left open
  ASSERT_TRUE(app.exit_dialog().Visible());
  int runs = 0;
  app.run_installation = [&] {
    if (++runs > 1) return;   // a nested run: counted, not repeated
    kit::Click(copying.Label10);                      // "Старт" again
    for (setup::Step step : {setup::Step::kWelcome, setup::Step::kLicence, setup::Step::kPath, setup::Step::kCheck})
      kit::Click(copying.StepLabel(step));            // reached pages
    kit::Click(copying.Label11);                      // "Отказ"
    kit::Dispatch(copying.on_close_request);          // Alt+F4
    kit::Dispatch(app.form1().on_close_request);      // a hidden page's close
    kit::Click(app.exit_dialog().Label12);            // "Да"
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(copying.Visible());
    for (kit::Form* page : std::initializer_list<kit::Form*>{&app.form1(), &app.form2(), &app.form4(), &app.form5()})
      EXPECT_FALSE(page->Visible()) << page->Name();
    EXPECT_FALSE(MessageShown());
    EXPECT_TRUE(app.exit_dialog().Visible());
    app.ShowFinishPage();
  };
  kit::Click(copying.Label10);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(headless.platform.ended);
  EXPECT_TRUE(app.form7().Visible());
  EXPECT_FALSE(copying.Visible());
  // The question left open is gone with the finish page.
  EXPECT_FALSE(app.ExitDialogExists());
}

TEST_F(WizardTest, NoStillClosesTheCancelQuestionWhileInstalling) {
  WalkToDiskPage();
  kit::Click(app.form5().Label10);
  kit::Click(app.form6().Label11);
  app.run_installation = [&] {
    kit::Click(app.exit_dialog().Label10);   // "Не", inside the installation's wait
    EXPECT_FALSE(app.ExitDialogExists() && app.exit_dialog().Visible());
    app.ShowFinishPage();
  };
  kit::Click(app.form6().Label10);
  EXPECT_FALSE(app.ExitDialogExists());
  EXPECT_TRUE(app.form7().Visible());
  // Once finished, closing the finish page ends the program as "Не" does.
  EXPECT_THROW(kit::Dispatch(app.form7().on_close_request), kit::ProgramEnded);
}

TEST_F(WizardTest, FinishPageStepsDoNotReact) {
  setup::Form7& finish = app.form7();
  finish.Show();
  for (kit::Label* step : {&finish.Label8, &finish.Label2, &finish.Label4, &finish.Label5, &finish.Label6, &finish.Label7})
    EXPECT_FALSE(step->on_click) << step->Name();
  EXPECT_EQ(finish.Find("Label11"), &finish.Label11);
  EXPECT_FALSE(finish.Label11.on_click);
}

TEST_F(WizardTest, FinishYesAsksForARestartThenEnds) {
  fake.power.restart_result = false;   // refused: the installer ends all the same
  EXPECT_THROW(kit::Click(app.form7().Label12), kit::ProgramEnded);
  EXPECT_EQ(fake.power.calls, (std::vector<std::string>{"EnableShutdownPrivilege", "RequestRestart"}));
}

TEST_F(WizardTest, FinishNoEndsWithoutRestart) {
  EXPECT_THROW(kit::Click(app.form7().Label10), kit::ProgramEnded);
  EXPECT_TRUE(fake.power.calls.empty());
}

}  // namespace

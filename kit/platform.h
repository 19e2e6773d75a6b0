// What the models need from the running user interface. The Win32 backend
// implements it; host tests use the headless one, which records what the
// program asked for.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kit {

class Form;
class Control;

// A line of a popup menu.
struct MenuItem {
  std::wstring text;
  bool checked = false;   // shown with the mark of the one chosen line
  bool separator = false; // a dividing line instead of text; never chosen
  bool check_box = false; // a setting of its own: checked shows a tick, not the radio mark
};

class Platform {
 public:
  virtual ~Platform() = default;
  // Brings every window up to date with its model.
  virtual void Sync() = 0;
  // Repaints one control now, without waiting for the message loop.
  virtual void Refresh(Control& control) = 0;
  // Handles the window messages that are waiting, then returns.
  virtual void DoEvents() = 0;
  // Handles window messages as they come for about `ms` milliseconds,
  // sleeping while there are none.
  virtual void WaitProcessingMessages(int ms) = 0;
  // A message box with a single OK button; returns when it is closed.
  virtual void MessageBox(const std::wstring& text, const std::wstring& title) = 0;
  // A warning with "Retry" and "Cancel"; true for "Retry".
  virtual bool AskRetry(const std::wstring& text, const std::wstring& title) = 0;
  // Lets the system move the form with the mouse as if its title bar had
  // been grabbed (release capture, then WM_NCLBUTTONDOWN with HTCAPTION).
  virtual void BeginSystemDrag(Form& form) = 0;
  // The form object is going away: drop its window.
  virtual void FormDestroyed(Form& form) = 0;
  // A control is going away before its form: drop its window.
  virtual void ControlDestroyed(Control&) {}
  // A standard popup menu (no title) at (x, y), twips in the form's client
  // area; returns the index of the line chosen, or -1 when it was closed
  // without a choice.
  virtual int PopupMenu(Form& form, const std::vector<MenuItem>& items, int x, int y) = 0;
  // Tells screen readers to speak `control` now (an alert: a message that
  // appeared, an answer's verdict), even where its text did not change.
  virtual void Alert(Control&) {}
  // The system's short default sound.
  virtual void Beep() = 0;
  // Milliseconds on a clock that only goes forward.
  virtual std::uint64_t TickMs() = 0;
  // Runs `task` once, as an event of its own, about `ms` milliseconds from
  // now; returns its id (never 0) for CancelTimer, or 0 when no timer could
  // be set.
  virtual unsigned StartTimer(int ms, std::function<void()> task) = 0;
  // A timer that has not run yet never will; other ids are ignored.
  virtual void CancelTimer(unsigned id) = 0;
  // Ends the program at once: no further handler runs.
  [[noreturn]] virtual void End(int exit_code) = 0;
};

Platform& CurrentPlatform();
void SetPlatform(Platform* platform);   // null: back to the headless one

// Ends the program at once.
[[noreturn]] void EndProgram(int exit_code = 0);

// Runs one event handler the way the backend does: the handler, then (when
// this is not a nested event, one raised inside DoEvents) the tasks it
// posted. Tests fire events through it too. An empty handler does nothing.
void Dispatch(const std::function<void()>& handler);
// Fires a control's click as a user's click would.
void Click(Control& control);
// Work that must wait until the current event is over, such as destroying
// the form whose handler is running.
void PostTask(std::function<void()> task);
void RunPostedTasks();

// Thrown by the headless platform's End so that tests can see the program
// end without ending themselves.
struct ProgramEnded {
  int exit_code;
};

class HeadlessPlatform : public Platform {
 public:
  void Sync() override {}
  void Refresh(Control& control) override;
  void DoEvents() override { ++do_events; }
  void WaitProcessingMessages(int ms) override { waited_ms.push_back(ms); }
  void MessageBox(const std::wstring& text, const std::wstring& title) override;
  // Records the question; answers from `retry_answers` in turn, then "Cancel".
  bool AskRetry(const std::wstring& text, const std::wstring& title) override;
  void BeginSystemDrag(Form& form) override;
  void FormDestroyed(Form&) override {}
  int PopupMenu(Form& form, const std::vector<MenuItem>& items, int x, int y) override;
  void Alert(Control& control) override { alerts.push_back(&control); }
  void Beep() override { ++beeps; }
  std::uint64_t TickMs() override { return tick_ms; }
  unsigned StartTimer(int ms, std::function<void()> task) override;
  void CancelTimer(unsigned id) override;
  // Runs every timer set and not cancelled, as if their time had come.
  void RunTimers();
  [[noreturn]] void End(int exit_code) override;

  int do_events = 0;
  std::vector<int> waited_ms;
  std::vector<std::wstring> messages;
  std::vector<std::wstring> questions;
  std::vector<bool> retry_answers;
  std::vector<Form*> drags;
  std::vector<Control*> refreshed;
  bool ended = false;
  // Each menu shown, with where; what the user picks in it comes from
  // `menu_choice` (-1: closed without a choice).
  struct ShownMenu {
    Form* form;
    std::vector<MenuItem> items;
    int x, y;
  };
  std::vector<ShownMenu> menus;
  std::function<int(const std::vector<MenuItem>&)> menu_choice;
  int beeps = 0;
  std::vector<Control*> alerts;
  std::uint64_t tick_ms = 0;
  struct PendingTimer {
    unsigned id;
    int ms;
    std::function<void()> task;
  };
  std::vector<PendingTimer> timers;   // set and not yet run or cancelled

 private:
  unsigned last_timer_ = 0;
};

// Installs a fresh headless platform for the scope of a test.
class ScopedHeadless {
 public:
  ScopedHeadless() { SetPlatform(&platform); }
  ~ScopedHeadless() { SetPlatform(nullptr); }
  HeadlessPlatform platform;
};

}  // namespace kit

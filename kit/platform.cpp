#include "kit/platform.h"

#include <cstdlib>
#include <deque>
#include <vector>
#include <utility>

#include "kit/control.h"
#include "kit/form.h"

namespace kit {
namespace {
HeadlessPlatform g_headless;
Platform* g_platform = &g_headless;
std::deque<std::function<void()>> g_posted;
int g_dispatch_depth = 0;
}  // namespace

Platform& CurrentPlatform() { return *g_platform; }
void SetPlatform(Platform* platform) { g_platform = platform ? platform : &g_headless; }

void EndProgram(int exit_code) {
  g_platform->End(exit_code);
  std::abort();  // a platform's End never returns
}

void PostTask(std::function<void()> task) { g_posted.push_back(std::move(task)); }

void RunPostedTasks() {
  while (!g_posted.empty()) {
    auto task = std::move(g_posted.front());
    g_posted.pop_front();
    task();
  }
}

void Dispatch(const std::function<void()>& handler) {
  if (!handler) return;
  struct Depth {
    Depth() { ++g_dispatch_depth; }
    ~Depth() { --g_dispatch_depth; }
  };
  {
    // Copy: the handler may destroy the control that holds it.
    auto run = handler;
    Depth depth;
    run();
  }
  if (g_dispatch_depth == 0) RunPostedTasks();
}

void Click(Control& control) {
  if (!control.visible || !control.enabled) return;
  Dispatch(control.on_click);
}

void HeadlessPlatform::Refresh(Control& control) { refreshed.push_back(&control); }

void HeadlessPlatform::MessageBox(const std::wstring& text, const std::wstring&) { messages.push_back(text); }

bool HeadlessPlatform::AskRetry(const std::wstring& text, const std::wstring&) {
  questions.push_back(text);
  if (retry_answers.empty()) return false;
  bool retry = retry_answers.front();
  retry_answers.erase(retry_answers.begin());
  return retry;
}

void HeadlessPlatform::BeginSystemDrag(Form& form) { drags.push_back(&form); }

int HeadlessPlatform::PopupMenu(Form& form, const std::vector<MenuItem>& items, int x, int y) {
  menus.push_back({&form, items, x, y});
  return menu_choice ? menu_choice(items) : -1;
}

unsigned HeadlessPlatform::StartTimer(int ms, std::function<void()> task) {
  timers.push_back({++last_timer_, ms, std::move(task)});
  return last_timer_;
}

void HeadlessPlatform::CancelTimer(unsigned id) {
  std::erase_if(timers, [id](const PendingTimer& t) { return t.id == id; });
}

void HeadlessPlatform::RunTimers() {
  // Taken first: a task may set a timer of its own, which waits for the
  // next call as it would wait on a real clock.
  std::vector<PendingTimer> due = std::move(timers);
  timers.clear();
  for (PendingTimer& t : due) Dispatch(t.task);
}

void HeadlessPlatform::End(int exit_code) {
  ended = true;
  g_posted.clear();
  throw ProgramEnded{exit_code};
}

}  // namespace kit

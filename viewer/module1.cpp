#include "viewer/module1.h"

#include "kit/platform.h"

namespace viewer {

void BeginWindowDrag(kit::Form& form) {
  if (form.window_state == kit::WindowState::kMaximized) return;
  kit::CurrentPlatform().BeginSystemDrag(form);
}

}  // namespace viewer

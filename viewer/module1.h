// Routines the viewer's window shares with the system's window handling.
#pragma once

#include "kit/form.h"

namespace viewer {

// Lets the user move `form` with the mouse while the button that went down
// is held, as if its title bar had been grabbed. A maximised window stays
// where it is.
void BeginWindowDrag(kit::Form& form);

}  // namespace viewer

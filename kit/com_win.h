// COM for the UI thread, started once per process when first needed (a
// screen reader's first question, the first saved picture) and kept until
// the process ends.
#pragma once

namespace kit::win {

void InitComOnce();

}  // namespace kit::win

#include "viewer/app.h"

namespace viewer {

App::App(os::Services& os) : form_main(engine_, os.files.ProgramFolder()) { form_main.Show(); }

}  // namespace viewer

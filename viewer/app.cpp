#include "viewer/app.h"

namespace viewer {

App::App(os::Files& files) : form_main(engine_, files.ProgramFolder()) { form_main.Show(); }

}  // namespace viewer

// The viewer program: the database engine and the one window, shown at
// start and kept until the user ends the program.
#pragma once

#include "os/os.h"
#include "viewer/form_main.h"
#include "viewer/jet_record_source.h"

namespace viewer {

class App {
 public:
  explicit App(os::Services& os);

  FormMain& Main() { return form_main; }

 private:
  JetDatabaseEngine engine_;
  FormMain form_main;
};

}  // namespace viewer

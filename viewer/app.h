// The viewer program: the database engine and the one window, shown at
// start and kept until the user ends the program.
#pragma once

#include "os/files.h"
#include "viewer/form_main.h"
#include "viewer/jet_record_source.h"

namespace viewer {

class App {
 public:
  // Only the file services: the viewer links none of the registry, shell
  // or power code, nor the system libraries behind them, which would cost
  // every start.
  explicit App(os::Files& files);

  FormMain& Main() { return form_main; }

 private:
  JetDatabaseEngine engine_;
  FormMain form_main;
};

}  // namespace viewer

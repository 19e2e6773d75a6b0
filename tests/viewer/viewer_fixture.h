// The table window on the shipped database, headless, with the worksheet's
// copies kept in `out`: what the tests of the windows beside it start from.
#pragma once

#include "kit/platform.h"
#include "tests/viewer/copies.h"
#include "tests/viewer/vrakel_records.h"
#include "viewer/form_main.h"

struct ViewerFixture {
  ViewerFixture() : form(engine, L"C:\\Zentrik") {
    form.SetSheetOutput(&out);
    form.Show();
  }
  testing_viewer::VrakelEngine engine;
  kit::ScopedHeadless headless;
  Copies out;
  viewer::FormMain form;
};

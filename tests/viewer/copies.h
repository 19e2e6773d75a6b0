// A worksheet output that keeps what was copied and drops the rest, for the
// windows' tests.
#pragma once

#include <vector>

#include "viewer/worksheet.h"

struct Copies : viewer::SheetOutput {
  void Copy(const viewer::SheetContent& c) override { copied.push_back(c); }
  void Save(const viewer::SheetContent&) override {}
  void Print(const viewer::SheetContent&) override {}
  void SavePages(const std::vector<viewer::SheetContent>&) override {}
  void PrintPages(const std::vector<viewer::SheetContent>&) override {}
  std::vector<viewer::SheetContent> copied;
};

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
  void PrintPages(const std::vector<viewer::SheetContent>& pages) override { printed.push_back(pages); }
  std::vector<viewer::SheetContent> copied;
  std::vector<std::vector<viewer::SheetContent>> printed;   // each set of pages
};

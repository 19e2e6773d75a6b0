#include "jet/status.h"

#include <cstdio>

namespace jet {

Status Status::Corruption(uint32_t page, uint32_t offset, const std::string& what) {
  char where[48];
  std::snprintf(where, sizeof where, "page %lu offset 0x%lx: ", static_cast<unsigned long>(page),
                static_cast<unsigned long>(offset));
  return {StatusCode::kCorruption, where + what};
}

std::string Status::ToString() const {
  const char* kind = "ok";
  switch (code_) {
    case StatusCode::kOk: return "ok";
    case StatusCode::kNotFound: kind = "not found"; break;
    case StatusCode::kCorruption: kind = "corruption"; break;
    case StatusCode::kIoError: kind = "I/O error"; break;
    case StatusCode::kInvalidArgument: kind = "invalid argument"; break;
    case StatusCode::kUnsupported: kind = "unsupported"; break;
  }
  return std::string(kind) + ": " + message_;
}

}  // namespace jet

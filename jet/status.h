// Error reporting of the Jet engine: a small Status (code + message) and a
// Result<T> that holds either a value or a failed Status. Nothing in jet/
// throws for a bad file; every decoding step returns one of these.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace jet {

enum class StatusCode {
  kOk,
  kNotFound,         // no such table, index, column or record
  kCorruption,       // the file contradicts the format (message names page/offset)
  kIoError,          // the file could not be opened or read
  kInvalidArgument,  // the caller asked for something impossible (bad bookmark)
  kUnsupported,      // a valid file using a feature this engine does not read
};

class [[nodiscard]] Status {
 public:
  Status() = default;  // ok
  Status(StatusCode code, std::string message) : code_(code), message_(std::move(message)) {}

  static Status Ok() { return {}; }
  static Status NotFound(std::string m) { return {StatusCode::kNotFound, std::move(m)}; }
  static Status IoError(std::string m) { return {StatusCode::kIoError, std::move(m)}; }
  static Status InvalidArgument(std::string m) { return {StatusCode::kInvalidArgument, std::move(m)}; }
  static Status Unsupported(std::string m) { return {StatusCode::kUnsupported, std::move(m)}; }
  // A corruption message always says where: "page 12 offset 0x1e0: ...".
  static Status Corruption(uint32_t page, uint32_t offset, const std::string& what);

  bool ok() const { return code_ == StatusCode::kOk; }
  StatusCode code() const { return code_; }
  const std::string& message() const { return message_; }
  // "corruption: page 12 offset 0x1e0: ..." (UTF-8), "ok" when ok.
  std::string ToString() const;

 private:
  StatusCode code_ = StatusCode::kOk;
  std::string message_;
};

// A value or the Status saying why there is none. A Result made from an ok
// Status is a programming error and is turned into an internal failure.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}
  Result(Status status) : v_(std::in_place_index<1>, std::move(status)) {
    if (std::get<1>(v_).ok()) v_.template emplace<1>(StatusCode::kInvalidArgument, "result without value");
  }

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }
  // The failure; an ok Status when there is a value.
  Status status() const { return ok() ? Status() : std::get<1>(v_); }

  // Only valid when ok().
  T& value() & { return std::get<0>(v_); }
  const T& value() const& { return std::get<0>(v_); }
  T&& value() && { return std::get<0>(std::move(v_)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

 private:
  std::variant<T, Status> v_;
};

}  // namespace jet

// Early return of a failed Status from a function returning Status or Result.
#define JET_RETURN_IF_ERROR(expr)             \
  do {                                        \
    ::jet::Status jet_status_ = (expr);       \
    if (!jet_status_.ok()) return jet_status_; \
  } while (0)

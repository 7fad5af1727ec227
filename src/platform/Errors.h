#pragma once
// The program's error classes. Each carries the message text that the user
// finally sees in the application's error box (followed by a full stop).
#include <exception>
#include <string>
#include <utility>

namespace tsaver {

// Holds its text itself: std::runtime_error would bring the run-time library's
// second string implementation into the program, some tens of kilobytes.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  std::string message() const { return message_; }

 private:
  std::string message_;
};

// A failing text-file open, read or write; the message follows the code.
class EInOutError : public Exception {
 public:
  explicit EInOutError(int code);
  int code() const { return code_; }
  static std::string messageFor(int code);

 private:
  int code_;
};

// A settings-file write that the platform reported as failed.
class ESettingsWriteError : public Exception {
 public:
  explicit ESettingsWriteError(const std::string& path) : Exception("Unable to write to " + path) {}
};

class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

class EKesShellLink : public Exception {
 public:
  using Exception::Exception;
};

// A text that should have been a whole number.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace tsaver

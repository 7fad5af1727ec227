#pragma once
// The program's error classes. Each carries the message text that the user
// finally sees in the application's error box (followed by a full stop).
#include <stdexcept>
#include <string>

namespace tsaver {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string message() const { return what(); }
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

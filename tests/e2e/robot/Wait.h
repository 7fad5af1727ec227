#pragma once
// Every wait of the robot polls with a time-out and fails with a message
// that says what it waited for, so that a test never hangs.
#include <windows.h>

#include <chrono>
#include <stdexcept>
#include <string>

namespace e2e {

using Millis = std::chrono::milliseconds;

// Long enough for a Wine process to start and show its window on a busy machine.
inline constexpr Millis kTimeout{15000};

struct RobotError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Polls `probe` until it gives a value that tests true; throws RobotError
// "timed out after N ms waiting for <what>" otherwise.
template <typename Probe>
auto waitUntil(Probe&& probe, const std::string& what, Millis timeout = kTimeout) -> decltype(probe()) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    auto value = probe();
    if (value) return value;
    if (std::chrono::steady_clock::now() >= deadline)
      throw RobotError("timed out after " + std::to_string(timeout.count()) + " ms waiting for " + what);
    Sleep(20);
  }
}

}  // namespace e2e

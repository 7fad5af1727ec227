#pragma once
// SHA-256 from the system's own library: Windows' CNG (BCrypt) in the Windows
// builds, nettle on Linux. Nothing here is hand-written cryptography.
#include <array>
#include <cstddef>
#include <memory>
#include <string>

namespace tsaver {

using Sha256Digest = std::array<unsigned char, 32>;

class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void update(const void* data, std::size_t size);
  // The digest of everything given; false when the library failed (no CNG provider).
  bool finish(Sha256Digest& digest);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The digest of one block, all zeros when the library failed.
Sha256Digest sha256Of(const void* data, std::size_t size);

// Lower-case hexadecimal, as sha256sum prints it.
std::string hexText(const Sha256Digest& digest);

}  // namespace tsaver

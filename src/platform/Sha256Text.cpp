#include "platform/Sha256.h"

namespace tsaver {

Sha256Digest sha256Of(const void* data, std::size_t size) {
  Sha256 hash;
  hash.update(data, size);
  Sha256Digest digest{};
  if (!hash.finish(digest)) digest.fill(0);
  return digest;
}

std::string hexText(const Sha256Digest& digest) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (const unsigned char byte : digest) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

}  // namespace tsaver

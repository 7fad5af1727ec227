// CNG came with Vista: the names it needs are declared from that version on.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>
// After windows.h, which it does not include itself.
#include <bcrypt.h>

#include "platform/Sha256.h"

namespace tsaver {

struct Sha256::State {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  bool failed = false;
};

Sha256::Sha256() : state_(new State) {
  // With no object buffer given, CNG keeps the hash object itself (Windows 7 on).
  state_->failed = BCryptOpenAlgorithmProvider(&state_->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0 ||
                   BCryptCreateHash(state_->algorithm, &state_->hash, nullptr, 0, nullptr, 0, 0) != 0;
}

Sha256::~Sha256() {
  if (state_->hash) BCryptDestroyHash(state_->hash);
  if (state_->algorithm) BCryptCloseAlgorithmProvider(state_->algorithm, 0);
}

void Sha256::update(const void* data, std::size_t size) {
  // BCryptHashData takes a ULONG length: pieces of at most 1 GB.
  auto* bytes = static_cast<unsigned char*>(const_cast<void*>(data));
  while (size > 0 && !state_->failed) {
    const ULONG piece = static_cast<ULONG>(size < (1u << 30) ? size : (1u << 30));
    state_->failed = BCryptHashData(state_->hash, bytes, piece, 0) != 0;
    bytes += piece;
    size -= piece;
  }
}

bool Sha256::finish(Sha256Digest& digest) {
  return !state_->failed &&
         BCryptFinishHash(state_->hash, digest.data(), static_cast<ULONG>(digest.size()), 0) == 0;
}

}  // namespace tsaver

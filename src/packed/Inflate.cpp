#include "packed/Compression.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

namespace tsaver::packed {

namespace {

// zlib counts in uInt: larger blocks go in pieces.
constexpr std::uint64_t kPiece = 1u << 30;
constexpr std::size_t kOutPiece = 256 * 1024;

}  // namespace

bool inflateTo(const unsigned char* stream, std::uint64_t streamSize, std::uint64_t size, const ByteSink& sink) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  std::vector<unsigned char> buffer(kOutPiece);
  std::uint64_t inLeft = streamSize, produced = 0;
  z.next_in = const_cast<Bytef*>(stream);
  int result = Z_OK;
  bool sinkOk = true;
  while (result == Z_OK && sinkOk) {
    if (z.avail_in == 0) {
      const auto piece = static_cast<uInt>(std::min(inLeft, kPiece));
      z.avail_in = piece;
      inLeft -= piece;
    }
    z.next_out = buffer.data();
    z.avail_out = static_cast<uInt>(buffer.size());
    result = inflate(&z, Z_NO_FLUSH);
    const std::size_t got = buffer.size() - z.avail_out;
    produced += got;
    if (produced > size) break;
    if (got > 0) sinkOk = sink(buffer.data(), got);
    // Z_BUF_ERROR: no progress was possible, the stream ended early.
  }
  const bool whole = result == Z_STREAM_END && sinkOk && produced == size && z.avail_in == 0 && inLeft == 0;
  inflateEnd(&z);
  return whole;
}

}  // namespace tsaver::packed

// Apart from the inflater, so that the extractor links no deflater.
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

std::string compress(const std::string& data) {
  z_stream z{};
  deflateInit(&z, Z_BEST_COMPRESSION);
  std::string out;
  std::vector<unsigned char> buffer(kOutPiece);
  std::uint64_t left = data.size();
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  int result = Z_OK;
  while (result != Z_STREAM_END) {
    const auto piece = static_cast<uInt>(std::min(left, kPiece));
    z.avail_in = piece;
    left -= piece;
    const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
    do {
      z.next_out = buffer.data();
      z.avail_out = static_cast<uInt>(buffer.size());
      result = deflate(&z, flush);
      out.append(reinterpret_cast<char*>(buffer.data()), buffer.size() - z.avail_out);
    } while (z.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
  }
  deflateEnd(&z);
  return out;
}

}  // namespace tsaver::packed

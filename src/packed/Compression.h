#pragma once
// The packed setup file's compression: zlib streams, made and read by zlib itself.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tsaver::packed {

// One zlib stream of the bytes at zlib's best level; the same bytes always give the same stream.
std::string compress(const std::string& data);

// Receives the inflated bytes piece by piece; false stops the inflation.
using ByteSink = std::function<bool(const unsigned char* data, std::size_t size)>;

// Inflates one zlib stream of exactly `streamSize` bytes that must give exactly
// `size` bytes. False when the stream is damaged, holds more or less, or the sink refused.
bool inflateTo(const unsigned char* stream, std::uint64_t streamSize, std::uint64_t size, const ByteSink& sink);

}  // namespace tsaver::packed

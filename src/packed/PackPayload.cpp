// Apart from the layout's reading, so that the extractor links no deflater.
#include "packed/Compression.h"
#include "packed/SetupLayout.h"

namespace tsaver::packed {

namespace {

void appendLe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

}  // namespace

std::string packPayload(const std::vector<PackInput>& files) {
  std::string directory, streams;
  appendLe(directory, files.size(), 4);
  for (const PackInput& file : files) {
    const std::string stream = compress(file.content);
    appendLe(directory, file.name.size(), 2);
    directory += file.name;
    appendLe(directory, file.content.size(), 8);
    appendLe(directory, stream.size(), 8);
    streams += stream;
  }
  const std::string payload = directory + streams;
  const Sha256Digest digest = sha256Of(payload.data(), payload.size());
  std::string frame(kFrameMagic, sizeof kFrameMagic);
  appendLe(frame, payload.size(), 8);
  frame.append(reinterpret_cast<const char*>(digest.data()), digest.size());
  return frame + payload;
}

}  // namespace tsaver::packed

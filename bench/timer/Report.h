#pragma once
// The benchmark's figures, their medians and ranges, and the ratios that the
// goals name, as one Markdown table. No verdict: the numbers are for reading.
#include <cstdint>
#include <string>
#include <vector>

#include "Rounds.h"

namespace bench {

struct Sizes {
  std::uint64_t shippingI686, x86_64;  // stripped copies of Install.exe
  std::uint64_t peer, peerWithoutPayload;
};

struct Results {
  std::vector<ProgramRound> program;
  std::vector<PeerRound> peer;
  Sizes sizes;
};

std::string report(const Results& results);

}  // namespace bench

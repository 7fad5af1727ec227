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
  std::uint64_t peerX86, peerX86WithoutPayload;  // the peer built for x86-unicode
  std::uint64_t packed, packedI686;              // the packed setup files
  std::uint64_t zlibPeer, zlibPeerX86;           // the peer with the payload compressed by zlib
};

// The rounds of one bitness.
struct SideRounds {
  std::vector<ProgramRound> program;
  std::vector<PeerRound> peer;
  std::vector<double> oneWindow;  // the one-window program on screen, milliseconds
  // The packed setup file, and the peer with its payload compressed by zlib beside it.
  std::vector<PackedRound> packed;
  std::vector<PeerRound> zlibPeer;
};

struct Results {
  SideRounds x86_64;  // the x86_64 program, the peer built for amd64-unicode
  SideRounds wow64;   // the shipping i686 program under WoW64, the peer built for x86-unicode
  // The same sides with 900 extra files: the program and the peer, no wizards timed.
  SideRounds extrasX86_64, extrasWow64;
  Sizes sizes;
};

std::string report(const Results& results);

}  // namespace bench

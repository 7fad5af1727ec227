// The benchmark's timer, run under Wine by scripts/bench.sh:
//   bench_timer payload
//     makes the package folder C:\e2e\Bench\ that both installers are made from;
//   bench_timer run ROUNDS PEER PEER_WITHOUT_PAYLOAD PEER_WIZARD INSTALL_I686 INSTALL_X86_64 RESULTS
//     times ROUNDS rounds, the program then the peer, prints the table and
//     writes it to RESULTS. PEER_WIZARD is the peer without the payload and
//     not silent. Paths are the host's (Linux) paths.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "Machine.h"
#include "Report.h"
#include "Rounds.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Screen.h"
#include "e2e/robot/Wait.h"

namespace {

std::uint64_t fileSize(const std::string& hostPath) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(e2e::hostPath(hostPath).c_str(), GetFileExInfoStandard, &data))
    throw e2e::RobotError("cannot read the size of " + hostPath);
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int run(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "payload" && argc == 2) {
    // Without a window manager, Wine holds every hide and close of a window for two
    // seconds while it waits for one; Windows always has one. A Wine virtual desktop
    // manages the windows itself, as in the end-to-end tests. It takes effect when
    // Wine's server starts again, before the rounds.
    e2e::useVirtualDesktop();
    std::printf("Payload: %s\n", bench::makePayload().c_str());
    return 0;
  }
  if (command != "run" || argc != 9) {
    std::fprintf(stderr,
                 "usage: bench_timer payload | run ROUNDS PEER PEER_WITHOUT_PAYLOAD PEER_WIZARD I686 X86_64 RESULTS\n");
    return 2;
  }
  const int rounds = std::atoi(argv[2]);
  if (rounds < 1) throw e2e::RobotError("ROUNDS must be 1 or more");
  bench::Results results;
  const std::string peer = e2e::hostPath(argv[3]), peerWizard = e2e::hostPath(argv[5]);
  results.sizes = {fileSize(argv[6]), fileSize(argv[7]), fileSize(argv[3]), fileSize(argv[4])};
  // A fresh prefix makes its caches (fonts, registry, shell folders) on first use:
  // one round of each side, not counted, so that the rounds measure the runs alone.
  std::printf("warm-up, not counted: program, peer\n");
  bench::runProgram();
  bench::runPeer(peer, peerWizard);
  for (int i = 1; i <= rounds; ++i) {
    std::printf("round %d of %d: program", i, rounds);
    std::fflush(stdout);
    results.program.push_back(bench::runProgram());
    std::printf(", peer");
    std::fflush(stdout);
    results.peer.push_back(bench::runPeer(peer, peerWizard));
    std::printf("\n");
  }
  bench::resetMachine();
  const std::string table = bench::report(results);
  std::printf("\n%s", table.c_str());
  std::ofstream(e2e::hostPath(argv[8]), std::ios::binary) << table;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "\nbenchmark failed: %s\n", e.what());
    return 1;
  }
}

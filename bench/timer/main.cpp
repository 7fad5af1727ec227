// The benchmark's timer, run under Wine by scripts/bench.sh:
//   bench_timer payload I686_INSTALL I686_FIXTURES I686_EXTRACTOR
//     makes the package folders that both installers are made from:
//     C:\e2e\Bench\ of this (x86_64) build, C:\e2e\Bench32\ of the i686 program
//     and the i686 fixture programs (folder) given; and packs those two into
//     C:\e2e\BenchSetup.exe and C:\e2e\BenchSetup32.exe behind this build's
//     extractor and the i686 one given;
//   bench_timer run ROUNDS PEER PEER_WITHOUT_PAYLOAD PEER_WIZARD INSTALL_I686 INSTALL_X86_64 RESULTS
//                   PEER_X86 PEER_X86_WITHOUT_PAYLOAD PEER_X86_WIZARD ONE_WINDOW_X86_64 ONE_WINDOW_I686
//                   PEER_EXTRAS PEER_X86_EXTRAS PEER_ZLIB PEER_ZLIB_WIZARD PEER_X86_ZLIB PEER_X86_ZLIB_WIZARD
//     times ROUNDS rounds, each the x86_64 side then the i686 one (under
//     WoW64): the one-window program, the program, the peer, then the program
//     and the peer with 900 extra files; prints the tables and writes them to
//     RESULTS. PEER_WIZARD is the peer without the payload and not silent; the
//     PEER_X86 ones are built for x86-unicode from C:\e2e\Bench32\, the
//     PEER_EXTRAS ones from C:\e2e\BenchExtras\ and C:\e2e\BenchExtras32\; the
//     PEER_ZLIB ones with the payload compressed by zlib, beside the packed files,
//     their WIZARD builds with the payload and not silent.
//     Paths are the host's (Linux) paths.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "Machine.h"
#include "Report.h"
#include "Rounds.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Wait.h"

namespace {

std::uint64_t fileSize(const std::string& windowsPath) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(windowsPath.c_str(), GetFileExInfoStandard, &data))
    throw e2e::RobotError("cannot read the size of " + windowsPath);
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// One bitness: its payloads, its peers and its one-window program (Windows paths).
struct Side {
  bench::Payload payload, extras;
  std::string peer, peerWizard, oneWindow, extrasPeer;
  std::string setup, zlibPeer, zlibPeerWizard;
};

// One round of one side: the one-window program, the program, the peer; then
// the program and the peer with the extra files; then the packed file and the peer with zlib.
void runRound(const Side& side, bench::SideRounds& into, bench::SideRounds& extrasInto) {
  into.oneWindow.push_back(bench::runOneWindow(side.oneWindow));
  into.program.push_back(bench::runProgram(side.payload));
  into.peer.push_back(bench::runPeer(side.peer, side.peerWizard, side.payload));
  extrasInto.program.push_back(bench::runProgram(side.extras));
  extrasInto.peer.push_back(bench::runPeer(side.extrasPeer, "", side.extras));
  into.packed.push_back(bench::runPacked(side.setup, side.payload));
  into.zlibPeer.push_back(bench::runPeer(side.zlibPeer, side.zlibPeerWizard, side.payload));
}

int run(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "payload" && argc == 5) {
    const std::string fixtures = e2e::hostPath(std::string(argv[3]) + "/");
    std::printf("Payload: %s\n", bench::makePayloads({e2e::hostPath(argv[2]), fixtures}).c_str());
    bench::packPayloads(e2e::hostPath(TSAVER_EXTRACTOR_EXE), e2e::hostPath(argv[4]));
    std::printf("Packed: %s, %s\n", bench::kSetupFile, bench::kSetupFileI686);
    return 0;
  }
  if (command != "run" || argc != 20) {
    std::fprintf(stderr,
                 "usage: bench_timer payload I686_INSTALL I686_FIXTURES I686_EXTRACTOR | run ROUNDS PEER"
                 " PEER_WITHOUT_PAYLOAD PEER_WIZARD I686 X86_64 RESULTS PEER_X86 PEER_X86_WITHOUT_PAYLOAD"
                 " PEER_X86_WIZARD ONE_WINDOW_X86_64 ONE_WINDOW_I686 PEER_EXTRAS PEER_X86_EXTRAS PEER_ZLIB"
                 " PEER_ZLIB_WIZARD PEER_X86_ZLIB PEER_X86_ZLIB_WIZARD\n");
    return 2;
  }
  const int rounds = std::atoi(argv[2]);
  if (rounds < 1) throw e2e::RobotError("ROUNDS must be 1 or more");
  bench::Results results;
  const auto host = [argv](int n) { return e2e::hostPath(argv[n]); };
  const Side x86_64{bench::kPayload, bench::kExtrasPayload, host(3),  host(5),  host(12),
                    host(14),        bench::kSetupFile,     host(16), host(17)};
  const Side wow64{bench::kPayloadI686, bench::kExtrasPayloadI686, host(9),  host(11), host(13),
                   host(15),            bench::kSetupFileI686,     host(18), host(19)};
  results.sizes = {fileSize(host(6)), fileSize(host(7)),  fileSize(host(3)),
                   fileSize(host(4)), fileSize(host(9)),  fileSize(host(10)),
                   fileSize(bench::kSetupFile), fileSize(bench::kSetupFileI686), fileSize(host(16)),
                   fileSize(host(18))};
  // A fresh prefix makes its caches (fonts, registry, shell folders) on first use,
  // the 32-bit side's its own: one round of each side, not counted, so that the
  // rounds measure the runs alone.
  // bench.sh sets it where the machine cannot run 32-bit programs: the i686 side then reads "not run".
  const bool i686Runs = std::getenv("TSAVER_BENCH_WITHOUT_I686") == nullptr;
  std::printf("warm-up, not counted: x86_64%s\n", i686Runs ? ", i686" : "");
  bench::SideRounds warmUp;
  runRound(x86_64, warmUp, warmUp);
  if (i686Runs) runRound(wow64, warmUp, warmUp);
  for (int i = 1; i <= rounds; ++i) {
    std::printf("round %d of %d: x86_64", i, rounds);
    std::fflush(stdout);
    runRound(x86_64, results.x86_64, results.extrasX86_64);
    if (i686Runs) {
      std::printf(", i686");
      std::fflush(stdout);
      runRound(wow64, results.wow64, results.extrasWow64);
    }
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

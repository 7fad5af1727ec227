#include "Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace bench {

namespace {

// The goals' fixed parts: the finish stage's wait, the uninstaller's start timer
// and its wait after deleting each logged tray program.
constexpr double kFinishWait = 500, kRemovalTimer = 100, kTrayWait = 1000;
constexpr double kWizardGoal = 150, kShippingGoal = 256 * 1024, kX8664Goal = 320 * 1024;

std::string format(const char* pattern, double value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

template <typename Round>
std::vector<double> samples(const std::vector<Round>& rounds, const std::function<double(const Round&)>& figure) {
  std::vector<double> values;
  for (const Round& r : rounds) values.push_back(figure(r));
  std::sort(values.begin(), values.end());
  return values;
}

// Not a number for a side that did not run (the i686 one, on a machine without 32-bit programs).
double median(const std::vector<double>& sorted) {
  const size_t n = sorted.size();
  if (n == 0) return std::nan("");
  return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

// A row of figures, each given by its sorted samples: median, then range.
template <typename... Sorted>
std::string timeRow(const std::string& figure, const Sorted&... columns) {
  std::string text = "| " + figure;
  ((text += columns.empty() ? std::string(" | not run | -")
                             : " | " + format("%.0f ms", median(columns)) + " | " + format("%.0f", columns.front()) +
                                   "-" + format("%.0f ms", columns.back())),
   ...);
  return text + " |\n";
}

std::string sizeRow(const std::string& figure, std::uint64_t bytes) {
  return "| " + figure + " | " + format("%.0f bytes", static_cast<double>(bytes)) + " | " +
         format("%.1f KB", static_cast<double>(bytes) / 1024) + " |\n";
}

std::string ratioCell(double ratio) { return std::isnan(ratio) ? "not run" : format("%.2fx", ratio); }
std::string ratioCell(const std::string& text) { return text; }

// A row of ratios (numbers) and texts (an empty cell, the goal last).
template <typename... Cells>
std::string ratioRow(const std::string& ratio, const Cells&... cells) {
  std::string text = "| " + ratio;
  ((text += " | " + ratioCell(cells)), ...);
  return text + " |\n";
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& n : names) text += (text.empty() ? "" : ", ") + n;
  return text;
}

// One bitness's figures, each sorted.
struct Figures {
  std::vector<double> wizard, install, finish, installBeyondWait, removal, removalBeyondWaits, oneWindow;
  std::vector<double> peerWizard, peerInstall, peerRemoval;
  int trayWaits;
};

Figures figuresOf(const SideRounds& side) {
  using P = ProgramRound;
  using B = PeerRound;
  Figures f;
  f.wizard = samples<P>(side.program, [](const P& r) { return r.wizardShown; });
  f.install = samples<P>(side.program, [](const P& r) { return r.installRun; });
  f.finish = samples<P>(side.program, [](const P& r) { return r.finishStage; });
  f.installBeyondWait =
      samples<P>(side.program, [](const P& r) { return r.installRun + r.finishStage - kFinishWait; });
  f.removal = samples<P>(side.program, [](const P& r) { return r.removal; });
  f.removalBeyondWaits = samples<P>(
      side.program, [](const P& r) { return r.removal - kRemovalTimer - kTrayWait * r.trayWaits; });
  f.oneWindow = samples<double>(side.oneWindow, [](const double& shown) { return shown; });
  f.peerWizard = samples<B>(side.peer, [](const B& r) { return r.wizardShown; });
  f.peerInstall = samples<B>(side.peer, [](const B& r) { return r.install; });
  f.peerRemoval = samples<B>(side.peer, [](const B& r) { return r.removal; });
  f.trayWaits = side.program.empty() ? 0 : side.program.front().trayWaits;
  return f;
}

// The goals' ratios of the medians, and the wizard's against what any window takes.
struct Ratios {
  double install, finish, removal, wizard, wizardToPeer, wizardToOneWindow;
};

Ratios ratiosOf(const Figures& f) {
  const double wizard = median(f.wizard), peerInstall = median(f.peerInstall);
  return {median(f.install) / peerInstall,
          (median(f.finish) - kFinishWait) / peerInstall,
          median(f.removalBeyondWaits) / median(f.peerRemoval),
          wizard / kWizardGoal,
          wizard / median(f.peerWizard),
          wizard / median(f.oneWindow)};
}

// The round of 900 extra files: the copies and the log entries are what its goals weigh.
std::string extrasReport(const Results& results) {
  const Figures x = figuresOf(results.extrasX86_64), w = figuresOf(results.extrasWow64);
  const auto installRatio = [](const Figures& f) { return median(f.installBeyondWait) / median(f.peerInstall); };
  const auto removalRatio = [](const Figures& f) { return median(f.removalBeyondWaits) / median(f.peerRemoval); };
  std::string text = "\nWith 900 extra files of 10 KB (914 files in all), in the same rounds\n\n";
  text += "| figure | x86_64 median | min-max | i686 (WoW64) median | min-max |\n|---|---:|---:|---:|---:|\n";
  text += timeRow("A installation run", x.install, w.install);
  text += timeRow("A finish stage (the extra files are copied here)", x.finish, w.finish);
  text += timeRow("A removal", x.removal, w.removal);
  text += timeRow("B peer install (/S)", x.peerInstall, w.peerInstall);
  text += timeRow("B peer removal (/S)", x.peerRemoval, w.peerRemoval);
  text += "\n| goal ratio (medians) | x86_64 | i686 (WoW64) | goal |\n|---|---:|---:|---:|\n";
  text += ratioRow("(installation run + finish stage - 500 ms wait) / peer install", installRatio(x),
                   installRatio(w), "<= 0.8x");
  text += ratioRow("(removal - its waits) / peer removal", removalRatio(x), removalRatio(w), "<= 0.5x");
  return text;
}

// One file to download: the packed file against the peer built with zlib from the same payload.
std::string packedReport(const Results& results) {
  using D = PackedRound;
  using E = PeerRound;
  const SideRounds &x = results.x86_64, &w = results.wow64;
  const auto window = [](const SideRounds& side) { return samples<D>(side.packed, [](const D& r) { return r.windowShown; }); };
  const auto installed = [](const SideRounds& side) { return samples<D>(side.packed, [](const D& r) { return r.installed; }); };
  const auto peerWindow = [](const SideRounds& side) { return samples<E>(side.zlibPeer, [](const E& r) { return r.wizardShown; }); };
  const auto peerInstall = [](const SideRounds& side) { return samples<E>(side.zlibPeer, [](const E& r) { return r.install; }); };
  const Sizes& s = results.sizes;
  std::string text = "\nOne file to download: the packed setup file (D) and the peer with its payload compressed by"
                     " zlib (E), in the same rounds\n\n";
  text += "| figure | x86_64 median | min-max | i686 (WoW64) median | min-max |\n|---|---:|---:|---:|---:|\n";
  text += timeRow("D its first window (the extractor's) on screen after process start", window(x), window(w));
  text += timeRow("D start until it ended, the wizard clicked through at once", installed(x), installed(w));
  text += timeRow("E peer wizard on screen after process start (its CRC of the whole file first)", peerWindow(x),
                  peerWindow(w));
  text += timeRow("E peer install: silent (/S), until its process ends", peerInstall(x), peerInstall(w));
  text += "\n| size | bytes | KB |\n|---|---:|---:|\n";
  text += sizeRow("D packed file, x86_64 extractor and program", s.packed);
  text += sizeRow("D packed file, i686 extractor and program", s.packedI686);
  text += sizeRow("E peer installer with the payload (zlib), amd64-unicode", s.zlibPeer);
  text += sizeRow("E peer installer with the payload (zlib), x86-unicode", s.zlibPeerX86);
  const auto ratio = [](const std::vector<double>& a, const std::vector<double>& b) { return median(a) / median(b); };
  text += "\n| goal ratio (medians) | x86_64 | i686 (WoW64) | goal |\n|---|---:|---:|---:|\n";
  text += ratioRow("D first window / E first window", ratio(window(x), peerWindow(x)), ratio(window(w), peerWindow(w)),
                   "<= 1.0x");
  text += ratioRow("D start to installed / E silent install", ratio(installed(x), peerInstall(x)),
                   ratio(installed(w), peerInstall(w)), "<= 1.0x");
  text += ratioRow("D file size / E file size", static_cast<double>(s.packed) / s.zlibPeer,
                   static_cast<double>(s.packedI686) / s.zlibPeerX86, "<= 1.02x");
  return text;
}

}  // namespace

std::string report(const Results& results) {
  const Figures x = figuresOf(results.x86_64), w = figuresOf(results.wow64);
  const Ratios rx = ratiosOf(x), rw = ratiosOf(w);
  const Sizes& s = results.sizes;

  const size_t rounds = results.x86_64.program.size();
  std::string text = "Benchmark under Wine: " + std::to_string(rounds) + (rounds == 1 ? " round" : " rounds") +
                     " of the program (A), its NSIS peer (B) and a one-window program (C), each side x86_64 and"
                     " i686 (under WoW64; the peer built for x86-unicode), in one 64-bit prefix\n\n";
  text += "| figure | x86_64 median | min-max | i686 (WoW64) median | min-max |\n|---|---:|---:|---:|---:|\n";
  text += timeRow("A wizard on screen after process start (warm wineserver)", x.wizard, w.wizard);
  text += timeRow("A installation run: Next on the directory page until the finish page shows", x.install, w.install);
  text += timeRow("A finish stage: Finish until the program ends", x.finish, w.finish);
  text += timeRow("A removal: \"&Yes\" until no UNINSTALL.EXE process is left", x.removal, w.removal);
  text += timeRow("B peer wizard on screen: its directory page after process start (without the payload)",
                  x.peerWizard, w.peerWizard);
  text += timeRow("B peer install: silent (/S), until its process ends", x.peerInstall, w.peerInstall);
  text += timeRow("B peer removal: Uninstall.exe /S until every process of it ended (" +
                      joined(results.x86_64.peer.front().removalProcesses) + ")",
                  x.peerRemoval, w.peerRemoval);
  text += timeRow("C one-window program on screen after process start", x.oneWindow, w.oneWindow);
  text += "\n| size | bytes | KB |\n|---|---:|---:|\n";
  text += sizeRow("shipping i686 Install.exe, stripped", s.shippingI686);
  text += sizeRow("x86_64 Install.exe, stripped", s.x86_64);
  text += sizeRow("peer installer with the payload (stored), amd64-unicode", s.peer);
  text += sizeRow("peer installer without the payload (stub, script, uninstaller), amd64-unicode",
                  s.peerWithoutPayload);
  text += sizeRow("peer installer with the payload (stored), x86-unicode", s.peerX86);
  text += sizeRow("peer installer without the payload (stub, script, uninstaller), x86-unicode",
                  s.peerX86WithoutPayload);

  const double waits = kRemovalTimer + kTrayWait * x.trayWaits;
  text += "\n| goal ratio (medians) | x86_64 | i686 (WoW64) | goal |\n|---|---:|---:|---:|\n";
  text += ratioRow("installation run / peer install", rx.install, rw.install, "<= 1.0x");
  text += ratioRow("(finish stage - 500 ms wait) / peer install", rx.finish, rw.finish, "<= 0.5x");
  text += ratioRow("(removal - " + format("%.0f ms", waits) + " of waits: 100 ms timer, 1000 ms x " +
                       std::to_string(x.trayWaits) + " logged tray program) / peer removal",
                   rx.removal, rw.removal, "<= 1.0x");
  text += ratioRow("wizard on screen / 150 ms", rx.wizard, rw.wizard, "<= 1.0x");
  // How long any wizard, and any window, takes to appear on this machine and Wine: no goal of their own.
  text += ratioRow("wizard on screen / peer wizard on screen", rx.wizardToPeer, rw.wizardToPeer, "(context)");
  text += ratioRow("wizard on screen / one-window program on screen", rx.wizardToOneWindow, rw.wizardToOneWindow,
                   "(context)");
  text += ratioRow("shipping i686 Install.exe / 256 KB", "", s.shippingI686 / kShippingGoal, "<= 1.0x");
  text += ratioRow("x86_64 Install.exe / 320 KB", s.x86_64 / kX8664Goal, "", "<= 1.0x");
  return text + extrasReport(results) + packedReport(results);
}

}  // namespace bench

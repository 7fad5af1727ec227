#include "Report.h"

#include <algorithm>
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

double median(const std::vector<double>& sorted) {
  const size_t n = sorted.size();
  return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

std::string timeRow(const std::string& figure, const std::vector<double>& sorted) {
  return "| " + figure + " | " + format("%.0f ms", median(sorted)) + " | " + format("%.0f", sorted.front()) + "-" +
         format("%.0f ms", sorted.back()) + " |\n";
}

std::string sizeRow(const std::string& figure, std::uint64_t bytes) {
  return "| " + figure + " | " + format("%.0f bytes", static_cast<double>(bytes)) + " | " +
         format("%.1f KB", static_cast<double>(bytes) / 1024) + " |\n";
}

std::string ratioRow(const std::string& ratio, double value, const std::string& goal) {
  return "| " + ratio + " | " + format("%.2fx", value) + " | " + goal + " |\n";
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& n : names) text += (text.empty() ? "" : ", ") + n;
  return text;
}

}  // namespace

std::string report(const Results& results) {
  using P = ProgramRound;
  using B = PeerRound;
  const auto wizard = samples<P>(results.program, [](const P& r) { return r.wizardShown; });
  const auto install = samples<P>(results.program, [](const P& r) { return r.installRun; });
  const auto finish = samples<P>(results.program, [](const P& r) { return r.finishStage; });
  const auto removal = samples<P>(results.program, [](const P& r) { return r.removal; });
  const auto removalBeyondWaits = samples<P>(
      results.program, [](const P& r) { return r.removal - kRemovalTimer - kTrayWait * r.trayWaits; });
  const auto peerWizard = samples<B>(results.peer, [](const B& r) { return r.wizardShown; });
  const auto peerInstall = samples<B>(results.peer, [](const B& r) { return r.install; });
  const auto peerRemoval = samples<B>(results.peer, [](const B& r) { return r.removal; });
  const int trayWaits = results.program.front().trayWaits;
  const Sizes& s = results.sizes;

  const size_t rounds = results.program.size();
  std::string text = "Benchmark under Wine: " + std::to_string(rounds) + (rounds == 1 ? " round" : " rounds") +
                     " of the program (A) and its NSIS peer (B), alternating A B, in one prefix\n\n";
  text += "| figure | median | min-max |\n|---|---:|---:|\n";
  text += timeRow("A wizard on screen after process start (warm wineserver)", wizard);
  text += timeRow("A installation run: Next on the directory page until the finish page shows", install);
  text += timeRow("A finish stage: Finish until the program ends", finish);
  text += timeRow("A removal: \"&Yes\" until no UNINSTALL.EXE process is left", removal);
  text += timeRow("B peer wizard on screen: its directory page after process start (without the payload)",
                  peerWizard);
  text += timeRow("B peer install: silent (/S), until its process ends", peerInstall);
  text += timeRow("B peer removal: Uninstall.exe /S until every process of it ended (" +
                      joined(results.peer.front().removalProcesses) + ")",
                  peerRemoval);
  text += "\n| size | bytes | KB |\n|---|---:|---:|\n";
  text += sizeRow("shipping i686 Install.exe, stripped", s.shippingI686);
  text += sizeRow("x86_64 Install.exe, stripped", s.x86_64);
  text += sizeRow("peer installer with the payload (stored)", s.peer);
  text += sizeRow("peer installer without the payload (stub, script, uninstaller)", s.peerWithoutPayload);

  const double waits = kRemovalTimer + kTrayWait * trayWaits;
  text += "\n| goal ratio (medians) | measured | goal |\n|---|---:|---:|\n";
  text += ratioRow("installation run / peer install", median(install) / median(peerInstall), "<= 1.0x");
  text += ratioRow("(finish stage - 500 ms wait) / peer install", (median(finish) - kFinishWait) / median(peerInstall),
                   "<= 0.5x");
  text += ratioRow("(removal - " + format("%.0f ms", waits) + " of waits: 100 ms timer, 1000 ms x " +
                       std::to_string(trayWaits) + " logged tray program) / peer removal",
                   median(removalBeyondWaits) / median(peerRemoval), "<= 1.0x");
  text += ratioRow("wizard on screen / 150 ms", median(wizard) / kWizardGoal, "<= 1.0x");
  // How long any wizard takes to appear on this machine and Wine: no goal of its own.
  text += ratioRow("wizard on screen / peer wizard on screen", median(wizard) / median(peerWizard), "(context)");
  text += ratioRow("shipping i686 Install.exe / 256 KB", s.shippingI686 / kShippingGoal, "<= 1.0x");
  text += ratioRow("x86_64 Install.exe / 320 KB", s.x86_64 / kX8664Goal, "<= 1.0x");
  return text;
}

}  // namespace bench

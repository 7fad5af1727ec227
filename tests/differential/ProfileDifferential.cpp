// The differential check of the settings-file readers against the platform.
//   profile_differential generate FOLDER COUNT SEED
//     writes COUNT generated files FOLDER/caseNNNNN.ini (the same for the same seed);
//   profile_differential compare FOLDER
//     reads each file's "caseNNNNN.wine", the platform's answers (profile_probes.exe
//     under Wine), and compares them with the simulated Windows' own answers and with
//     the removal's reading (the settings-file accessor) on the simulated Windows.
// Exit code 0: no difference; 1: differences (each printed); 2: a wrong call or folder.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

#include "ProbeAnswers.h"
#include "ProfileCases.h"
#include "platform/Paths.h"
#include "platform/SimulatedWindows.h"
#include "uninstall_log/SettingsFile.h"

namespace {

namespace fs = std::filesystem;
using namespace tsaver;
using namespace tsaver::differential;

constexpr const char* kCasePath = "C:\\case.ini";

class SimulatedReader : public ProfileReader {
 public:
  explicit SimulatedReader(SimulatedWindows& machine) : machine_(machine) {}
  std::vector<std::string> sectionNames() override {
    std::vector<std::string> names;
    for (const auto& section : machine_.profileSections(kCasePath)) names.push_back(section.first);
    return names;
  }
  std::vector<std::pair<std::string, std::string>> sectionEntries(const std::string& section) override {
    for (auto& found : machine_.profileSections(kCasePath))
      if (upperAscii(found.first) == upperAscii(section)) return found.second;
    return {};
  }
  std::string answer(const Probe& probe) override {
    return machine_.getProfileString(probe.section, probe.key, probe.defaultValue, kCasePath);
  }

 private:
  SimulatedWindows& machine_;
};

// The removal's reading: one accessor asked every probe in turn.
class RemovalReader : public SimulatedReader {
 public:
  explicit RemovalReader(SimulatedWindows& machine) : SimulatedReader(machine), logFile_(machine) {
    logFile_.Open(kCasePath);
  }
  std::string answer(const Probe& probe) override {
    return logFile_.ReadString(probe.section, probe.key, probe.defaultValue);
  }

 private:
  SettingsFile logFile_;
};

std::string contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The lines of `got` that `expected` lacks and the other way round, marked "-" and "+".
std::string lineDifferences(const std::string& expected, const std::string& got) {
  const auto lines = [](const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  };
  const auto missing = [](const std::vector<std::string>& from, const std::vector<std::string>& in) {
    std::vector<std::string> out;
    for (const auto& line : from)
      if (std::find(in.begin(), in.end(), line) == in.end()) out.push_back(line);
    return out;
  };
  const auto a = lines(expected), b = lines(got);
  std::string text;
  for (const auto& line : missing(a, b)) text += "    platform: " + line + "\n";
  for (const auto& line : missing(b, a)) text += "    ours:     " + line + "\n";
  return text.empty() && expected != got ? "    (same lines, other order)\n" : text;
}

int generate(const fs::path& folder, int count, unsigned seed) {
  fs::create_directories(folder);
  std::mt19937 random(seed);
  for (int i = 1; i <= count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "case%05d.ini", i);
    std::ofstream(folder / name, std::ios::binary) << profileCase(random);
  }
  return 0;
}

int compare(const fs::path& folder) {
  int cases = 0, differing = 0;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".ini") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    fs::path answers = file;
    answers.replace_extension(".wine");
    if (!fs::exists(answers)) {
      std::printf("%s: no platform answers\n", file.filename().c_str());
      ++differing;
      continue;
    }
    const std::string platform = contentOf(answers);
    SimulatedWindows machine;
    machine.putFile(kCasePath, contentOf(file));
    SimulatedReader simulated(machine);
    RemovalReader removal(machine);
    const std::string ours = listingText(simulated) + answersText(simulated);
    const std::string removals = listingText(removal) + answersText(removal);
    std::string report;
    if (ours != platform) report += "  simulated Windows:\n" + lineDifferences(platform, ours);
    if (removals != platform) report += "  removal's reading, simulated:\n" + lineDifferences(platform, removals);
    ++cases;
    if (report.empty()) continue;
    ++differing;
    std::printf("%s:\n%s", file.string().c_str(), report.c_str());
  }
  std::printf("%d files compared, %d with differences\n", cases, differing);
  return cases == 0 ? 2 : differing == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 4 && args[0] == "generate")
    return generate(args[1], std::stoi(args[2]), static_cast<unsigned>(std::stoul(args[3])));
  if (args.size() == 2 && args[0] == "compare") return compare(args[1]);
  std::fprintf(stderr, "usage: profile_differential generate FOLDER COUNT SEED | compare FOLDER\n");
  return 2;
}

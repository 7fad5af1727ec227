// The simulated Windows' profile files, read and written: any bytes as
// "System.ini", whose listing (what the plan shows) must agree with the reads
// (what the program gets); values written back as read, and a section written
// and erased again, must leave every entry as it was; the path file, the settings
// file's section and the screen saver's setting, written with a product name taken
// from the input, must read back as written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Paths.h"
#include "platform/SimulatedWindows.h"
#include "platform/TextFile.h"

namespace {

using namespace tsaver;

constexpr const char* kFile = "System.ini";
constexpr const char* kNotThere = "\x01not there";
constexpr std::size_t kReadLimit = 1023;
// Enough entries to reach every kind of line, few enough to stay fast.
constexpr std::size_t kEntriesChecked = 32;

void require(bool holds) {
  if (!holds) std::abort();
}

// The blanks that reads trim around names and values: the C blanks and Ctrl-Z.
bool hasOuterBlank(const std::string& text) {
  const std::string blanks = " \t\v\f\x1a";
  return !text.empty() &&
         (blanks.find(text.front()) != std::string::npos || blanks.find(text.back()) != std::string::npos);
}

// A value that a write stores and a read gives back unchanged.
bool keepsAsWritten(const std::string& value) {
  if (value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return false;
  if (hasOuterBlank(value)) return false;
  return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front());
}

bool firstOfItsName(const std::vector<std::pair<std::string, std::string>>& items, std::size_t index) {
  for (std::size_t i = 0; i < index; ++i)
    if (upperAscii(items[i].first) == upperAscii(items[index].first)) return false;
  return true;
}

// The entries that a read finds: the first of their name in the first section of its
// name. A name that kept a blank from before a NUL is left out: a read trims the names it asks for.
template <typename Visit>
void forEachReadableEntry(const std::vector<SimulatedWindows::ProfileSection>& sections, Visit visit) {
  std::vector<std::pair<std::string, std::string>> names;
  for (const auto& section : sections) names.emplace_back(section.first, "");
  std::size_t visited = 0;
  for (std::size_t s = 0; s < sections.size() && visited < kEntriesChecked; ++s) {
    if (!firstOfItsName(names, s) || hasOuterBlank(sections[s].first)) continue;
    const auto& [section, entries] = sections[s];
    for (std::size_t k = 0; k < entries.size() && visited < kEntriesChecked; ++k, ++visited)
      if (firstOfItsName(entries, k) && !hasOuterBlank(entries[k].first))
        visit(section, entries[k].first, entries[k].second);
  }
}

// A read gives the listed value, or the default where a line of the same name
// without "=" comes first (the listing leaves such lines out).
void requireListingMatchesReads(SimulatedWindows& machine) {
  forEachReadableEntry(machine.profileSections(kFile),
                       [&](const std::string& section, const std::string& key, const std::string& value) {
                         const std::string read = machine.getProfileString(section, key, kNotThere, kFile);
                         require(read == kNotThere || read == value.substr(0, kReadLimit) ||
                                 (value.size() == kReadLimit && read == value.substr(0, kReadLimit - 1)));
                       });
}

void requireRewritesChangeNothing(SimulatedWindows& machine) {
  const auto before = machine.profileSections(kFile);
  forEachReadableEntry(before, [&](const std::string& section, const std::string& key, const std::string& value) {
    if (keepsAsWritten(value) && value.size() < kReadLimit &&
        machine.getProfileString(section, key, kNotThere, kFile) == value)
      require(machine.writeProfileString(section, key, value, kFile));
  });
  require(machine.profileSections(kFile) == before);
}

void requireSectionWrittenAndErasedLeavesTheRest(SimulatedWindows& machine, const std::string& value) {
  const std::string section = "TsaverFuzzSection";
  const auto before = machine.profileSections(kFile);
  for (const auto& held : before)
    if (upperAscii(held.first) == upperAscii(section)) return;
  require(machine.writeProfileString(section, std::string("k"), value, kFile));
  require(machine.getProfileString(section, "k", kNotThere, kFile) == value.substr(0, kReadLimit));
  require(machine.writeProfileString(section, std::nullopt, std::nullopt, kFile));
  require(machine.profileSections(kFile) == before);
}

void requireProductFilesReadBack(SimulatedWindows& machine, const std::string& product) {
  const std::string installDir = "C:\\Program Files\\" + product + "\\Screen Saver";
  const std::string pathFile = machine.windowsDirectory() + "\\" + product + ".ini";
  try {
    writeTextLines(machine, pathFile, {"[Data]", "Path=" + installDir + "\\"});
  } catch (const std::exception&) {
    return;  // no file can have that name
  }
  require(machine.getProfileString("Data", "Path", kNotThere, pathFile) == (installDir + "\\").substr(0, kReadLimit));
  require(machine.writeProfileString(product, std::string("DataPath"), installDir, "TSaver.ini"));
  require(machine.getProfileString(product, "DataPath", kNotThere, "TSaver.ini") == installDir.substr(0, kReadLimit));
  require(machine.writeProfileString("boot", std::string("SCRNSAVE.EXE"), product + ".scr", kFile));
  require(machine.getProfileString("boot", "SCRNSAVE.EXE", kNotThere, kFile) ==
          (product + ".scr").substr(0, kReadLimit));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  SimulatedWindows machine;
  machine.putFile(machine.windowsDirectory() + "\\" + kFile, input);
  requireListingMatchesReads(machine);
  requireRewritesChangeNothing(machine);
  // A product name as "Data.dat" gives it: its first line, from the same bytes.
  const std::string product = TextReader(input).readLine().substr(0, 64);
  if (keepsAsWritten(product) && product.find_first_of("[]=;\x1a") == std::string::npos && !product.empty()) {
    requireSectionWrittenAndErasedLeavesTheRest(machine, product);
    requireProductFilesReadBack(machine, product);
  }
  return 0;
}

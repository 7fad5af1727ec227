#include "e2e/PlanComparison.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "e2e/MachineState.h"
#include "e2e/robot/Files.h"
#include "platform/Paths.h"

namespace e2e {

namespace {

using tsaver::upperAscii;
using tsaver::vendor::InstallPlan;

// A snapshot looked up without regard to case, as Windows names things.
class CaseBlind {
 public:
  explicit CaseBlind(const MachineSnapshot& snapshot) {
    for (const auto& [name, held] : snapshot) entries_[upperAscii(name)] = held;
  }
  bool holds(const std::string& name) const { return entries_.count(upperAscii(name)) != 0; }
  std::string at(const std::string& name) const {
    const auto it = entries_.find(upperAscii(name));
    return it == entries_.end() ? std::string() : it->second;
  }

 private:
  std::map<std::string, std::string> entries_;
};

// The plan names a settings-file entry "file [section] key"; anything else is a path or a registry value.
struct SettingItem {
  std::string file, section, key;
};
std::optional<SettingItem> settingItem(const std::string& item) {
  const auto open = upperAscii(item).find(".INI [");
  const auto close = item.find("] ", open);
  if (open == std::string::npos || close == std::string::npos) return std::nullopt;
  return SettingItem{item.substr(0, open + 4), item.substr(open + 6, close - open - 6), item.substr(close + 2)};
}
bool settingHeld(const SettingItem& s) { return e2e::profileString(s.file, s.section, s.key) != "<none>"; }

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// The plan names what the program writes in its own registry view. A 32-bit program
// on 64-bit Windows (the demonstration has the program's bitness) keeps
// HKEY_LOCAL_MACHINE\Software in the 32-bit view, which the snapshot names WOW6432Node.
std::string asSnapshotNames(const std::string& item) {
  static const std::string kSoftware = "HKLM\\Software\\";
  BOOL wow64 = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64) return item;
  if (upperAscii(item.substr(0, kSoftware.size())) != upperAscii(kSoftware)) return item;
  return kSoftware + "WOW6432Node\\" + item.substr(kSoftware.size());
}

std::vector<std::string> plannedChanges(const InstallPlan& plan) {
  std::vector<std::string> items = plan.removes;
  items.insert(items.end(), plan.leaves.begin(), plan.leaves.end());
  return items;
}

void compareChanges(const InstallPlan& plan, const MachineSnapshot& before, const MachineSnapshot& installed,
                    const Ignored& ignored, std::vector<std::string>& out) {
  const CaseBlind was(before);
  std::set<std::string> real, planned;
  for (const auto& [name, held] : installed)
    if (!ignored(name) && (!was.holds(name) || was.at(name) != held)) real.insert(upperAscii(name));
  for (const std::string& item : plannedChanges(plan)) {
    if (settingItem(item)) continue;
    const std::string stored = asSnapshotNames(item);
    planned.insert(upperAscii(stored));
    if (!real.count(upperAscii(stored)))
      out.push_back("planned, but the installation did not make or change it: " + stored);
  }
  for (const auto& [name, held] : installed)
    if (real.count(upperAscii(name)) && !planned.count(upperAscii(name)))
      out.push_back("made or changed by the installation, but not planned: " + name);
}

void compareContents(const InstallPlan& plan, const CaseBlind& installed, std::vector<std::string>& out) {
  for (const auto& file : plan.files) {
    const std::string size = std::to_string(file.bytes) + " bytes,";
    if (installed.holds(file.path) && installed.at(file.path).compare(0, size.size(), size) != 0)
      out.push_back(file.path + ": planned " + std::to_string(file.bytes) + " bytes, found " + installed.at(file.path));
  }
  if (plan.pathFileContent && e2e::readFile(plan.pathFile) != *plan.pathFileContent)
    out.push_back("the path file " + plan.pathFile + " does not read as planned");
  for (const auto& s : plan.settings) {
    const std::string real = e2e::profileString(s.file, s.section, s.key);
    if (real != s.value)
      out.push_back(s.file + " [" + s.section + "] " + s.key + ": planned " + quoted(s.value) + ", found " +
                    quoted(real));
  }
  for (const auto& value : plan.registry) {
    const std::string name = asSnapshotNames(tsaver::vendor::registryRootName(value.root) + std::string("\\") +
                                             value.key + "\\\\" + value.name);
    const bool number = value.type == tsaver::SimulatedWindows::ValueType::DWord;
    if (installed.holds(name) && installed.at(name) != e2e::registryValueText(number ? REG_DWORD : REG_SZ, value.data))
      out.push_back(name + ": planned " + quoted(tsaver::vendor::registryDataText(value)) + ", found " +
                    installed.at(name));
  }
  for (const auto& link : plan.links) {
    if (!installed.holds(link.path)) continue;  // reported with the changes
    const e2e::LinkFields real = e2e::readLink(link.path);
    if (real.path != link.data.target || real.workingDir != link.data.workingDir ||
        real.iconFile != link.data.iconFile || real.iconIndex != link.data.iconIndex ||
        real.description != link.data.description)
      out.push_back("the link " + link.path + " points to " + real.path + " in " + real.workingDir + " with icon " +
                    real.iconFile + "; planned " + link.data.target + " in " + link.data.workingDir + " with icon " +
                    link.data.iconFile);
  }
}

void compareLog(const InstallPlan& plan, std::vector<std::string>& out) {
  std::vector<tsaver::vendor::LogEntry> real;
  for (const auto& section : e2e::profileSections(plan.installDir + "\\UNINSTALL.INI"))
    for (const auto& [key, value] : section.keys) real.push_back({section.name, key, value});
  const std::size_t common = std::min(real.size(), plan.log.size());
  for (std::size_t i = 0; i < common; ++i)
    if (!(real[i] == plan.log[i]))
      out.push_back("log entry " + std::to_string(i + 1) + ": [" + real[i].section + "] " + real[i].key + "=" +
                    real[i].value + ", planned [" + plan.log[i].section + "] " + plan.log[i].key + "=" +
                    plan.log[i].value);
  if (real.size() != plan.log.size())
    out.push_back("the uninstall log holds " + std::to_string(real.size()) + " entries, planned " +
                  std::to_string(plan.log.size()));
}

}  // namespace

bool isOutsideTheInstallation(const std::string& entry) {
  if (isWineBookkeeping(entry) || entry.rfind("C:\\windows\\temp\\", 0) == 0) return true;
  if (entry.rfind("C:\\users\\", 0) == 0) {
    for (const char* alias : {"\\Documents\\", "\\Downloads\\", "\\Music\\", "\\Pictures\\", "\\Videos\\", "\\Templates\\"})
      if (entry.find(alias) != std::string::npos) return true;
  }
  return entry.find("tsaver-fixture-") != std::string::npos;
}

std::vector<std::string> differencesAfterInstallation(const InstallPlan& plan, const MachineSnapshot& before,
                                                      const MachineSnapshot& installed, const Ignored& ignored) {
  std::vector<std::string> out;
  compareChanges(plan, before, installed, ignored, out);
  compareContents(plan, CaseBlind(installed), out);
  compareLog(plan, out);
  return out;
}

std::vector<std::string> differencesAfterRemoval(const InstallPlan& plan, const MachineSnapshot& removed,
                                                 const Ignored& ignored) {
  const CaseBlind after(removed);
  const auto held = [&](const std::string& item) {
    const auto setting = settingItem(item);
    return setting ? settingHeld(*setting) : after.holds(asSnapshotNames(item));
  };
  std::vector<std::string> out;
  for (const std::string& item : plan.removes)
    if (!ignored(item) && held(item)) out.push_back("planned to be removed, but stayed: " + item);
  for (const std::string& item : plan.leaves)
    if (!ignored(item) && !held(item)) out.push_back("planned to stay, but was removed: " + item);
  return out;
}

}  // namespace e2e

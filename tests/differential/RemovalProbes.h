#pragma once
// The settings-file reads that the removal run makes of its log, in its order:
// FILE1 once ahead of the rest, the numbered sections 1 to 999 each, then the
// two keys of "INIFILE"; and the sections whose keys the removal lists.
#include <string>
#include <vector>

#include "uninstall_log/LogNames.h"

namespace tsaver::differential {

struct Probe {
  std::string section, key, defaultValue;
};

inline std::vector<Probe> removalProbes() {
  std::vector<Probe> probes = {{log::kFilesSection, log::numberedKey(log::kFileStem, 1), log::kNone}};
  const std::pair<const char*, const char*> numbered[] = {{log::kFilesSection, log::kFileStem},
                                                          {log::kShortcutsSection, log::kShortcutStem},
                                                          {log::kDesktopSection, log::kShortcutStem},
                                                          {log::kRegistrySection, log::kKeyStem},
                                                          {log::kDirectoriesSection, log::kDirectoryStem}};
  for (const auto& [section, stem] : numbered)
    for (int n = log::kFirstNumber; n <= log::kLastNumber; ++n)
      probes.push_back({section, log::numberedKey(stem, n), log::kNone});
  probes.push_back({log::kIniFileSection, log::kCfgFileKey, log::kDefaultCfgFile});
  probes.push_back({log::kIniFileSection, log::kSectionKey, log::kDefaultSection});
  return probes;
}

inline std::vector<std::string> removalSections() {
  return {log::kFilesSection,     log::kShortcutsSection,    log::kDesktopSection,
          log::kRegistrySection,  log::kDirectoriesSection,  log::kIniFileSection};
}

}  // namespace tsaver::differential

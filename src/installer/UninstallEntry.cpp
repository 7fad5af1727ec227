#include "installer/UninstallEntry.h"

#include <cstdint>
#include <limits>

#include "platform/Errors.h"
#include "platform/Registry.h"
#include "uninstall_log/LogNames.h"
#include "uninstall_log/SettingsFile.h"

namespace tsaver {

namespace {

std::string entryKey(const std::string& productName) {
  return std::string(log::kUninstallEntries) + "\\" + uninstallEntryName(productName);
}

// What the product takes on the disk, in KB rounded up: the uninstaller and every file
// the log lists (bare names lie in the install directory), as far as they exist.
std::uint32_t estimatedSizeKb(Platform& platform, const std::string& installDir) {
  SettingsFile uninstallLog(platform);
  uninstallLog.Open(installDir + "\\" + log::kFileName);
  std::uint64_t bytes = platform.fileSize(installDir + "\\" + log::kUninstallerName).value_or(0);
  // Read as the removal reads it: a log of a thousand extra files is parsed once, not a thousand times.
  for (const std::string& key : uninstallLog.KeyNames(log::kFilesSection)) {
    const std::string file = uninstallLog.ReadString(log::kFilesSection, key, "");
    if (file.empty()) continue;
    const bool absolute = file.find(':') != std::string::npos || file.front() == '\\';
    bytes += platform.fileSize(absolute ? file : installDir + "\\" + file).value_or(0);
  }
  const std::uint64_t kb = (bytes + 1023) / 1024;
  return kb > std::numeric_limits<std::uint32_t>::max() ? std::numeric_limits<std::uint32_t>::max()
                                                        : static_cast<std::uint32_t>(kb);
}

}  // namespace

std::string uninstallEntryName(const std::string& productName) { return productName + " screen saver"; }

void writeUninstallEntry(Platform& platform, const std::string& productName, const std::string& installDir) {
  try {
    // The record first: an entry the log does not name would outlive the product.
    SettingsFile uninstallLog(platform);
    uninstallLog.Open(installDir + "\\" + log::kFileName);
    uninstallLog.WriteString(log::kUninstallEntrySection, log::kUninstallEntryKey, uninstallEntryName(productName));
    uninstallLog.Release();

    const std::string uninstaller = installDir + "\\" + log::kUninstallerName;
    const std::string icon = installDir + "\\" + productName + ".ico";
    Registry entry(platform, RegRoot::LocalMachine);
    if (!entry.OpenKey(entryKey(productName), true)) return;
    // The name last: a list shows an entry by it, and one cut short by a failure then shows not at all.
    entry.WriteString("UninstallString", "\"" + uninstaller + "\"");
    entry.WriteString("InstallLocation", installDir);
    entry.WriteString("DisplayIcon", platform.fileExists(icon) ? icon : uninstaller + ",0");
    entry.WriteInteger("NoModify", 1);
    entry.WriteInteger("NoRepair", 1);
    entry.WriteInteger("EstimatedSize", estimatedSizeKb(platform, installDir));
    entry.WriteString("DisplayName", uninstallEntryName(productName));
  } catch (const Exception&) {
  }
}

void updateUninstallEntrySize(Platform& platform, const std::string& productName, const std::string& installDir) {
  try {
    Registry entry(platform, RegRoot::LocalMachine);
    if (entry.OpenKey(entryKey(productName), false))
      entry.WriteInteger("EstimatedSize", estimatedSizeKb(platform, installDir));
  } catch (const Exception&) {
  }
}

}  // namespace tsaver

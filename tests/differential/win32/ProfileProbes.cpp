// The platform's side of the differential check: for every "*.ini" in the folder
// given, writes "<name>.wine" with the platform's own answers to the removal's
// probes (GetPrivateProfileStringA, GetPrivateProfileSectionNamesA,
// GetPrivateProfileSectionA), followed by a "removal:" line for every probe that
// the removal's own reading (the settings-file accessor on this platform)
// answers otherwise. One process for all files: each Wine start costs time.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ProbeAnswers.h"
#include "platform/win32/ProfileList.h"
#include "platform/win32/Win32Platform.h"
#include "uninstall_log/SettingsFile.h"

namespace {

using namespace tsaver::differential;

class PlatformReader : public ProfileReader {
 public:
  explicit PlatformReader(std::string file) : file_(std::move(file)) {}

  std::vector<std::string> sectionNames() override {
    return tsaver::profileList([this](char* buffer, DWORD size) {
      return GetPrivateProfileSectionNamesA(buffer, size, file_.c_str());
    });
  }
  std::vector<std::pair<std::string, std::string>> sectionEntries(const std::string& section) override {
    std::vector<std::pair<std::string, std::string>> entries;
    for (const std::string& line : tsaver::profileList([&](char* buffer, DWORD size) {
           return GetPrivateProfileSectionA(section.c_str(), buffer, size, file_.c_str());
         })) {
      const auto eq = line.find('=');
      if (eq != std::string::npos) entries.emplace_back(line.substr(0, eq), unquotedValue(line.substr(eq + 1)));
    }
    return entries;
  }
  // Asked once per probe: every call opens the file again.
  std::string answer(const Probe& probe) override {
    const std::string asked = probe.section + '\0' + probe.key + '\0' + probe.defaultValue;
    const auto known = answers_.find(asked);
    if (known != answers_.end()) return known->second;
    char buffer[1024];
    const DWORD length = GetPrivateProfileStringA(probe.section.c_str(), probe.key.c_str(),
                                                  probe.defaultValue.c_str(), buffer, sizeof buffer, file_.c_str());
    return answers_[asked] = std::string(buffer, length);
  }

 private:
  std::string file_;
  std::map<std::string, std::string> answers_;
};

std::string removalDifferences(const std::string& file, PlatformReader& direct) {
  tsaver::Win32Platform platform;
  tsaver::SettingsFile logFile(platform);
  logFile.Open(file);
  std::string text;
  for (const Probe& probe : removalProbes()) {
    const std::string own = logFile.ReadString(probe.section, probe.key, probe.defaultValue);
    if (own != direct.answer(probe))
      text += "removal: [" + probe.section + "] " + probe.key + ": " + escaped(own) + "\n";
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: profile_probes FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*.ini").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 2;
  int files = 0;
  do {
    const std::string file = folder + "\\" + found.cFileName;
    PlatformReader reader(file);
    const std::string text = listingText(reader) + answersText(reader) + removalDifferences(file, reader);
    const std::string out = file.substr(0, file.size() - 4) + ".wine";
    FILE* f = std::fopen(out.c_str(), "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) return 1;
    ++files;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::printf("%d files answered\n", files);
  return 0;
}

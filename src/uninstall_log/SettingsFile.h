#pragma once
// A settings (profile) file bound to one path, for one use. Every write goes
// straight to the file; a bare file name lies in the Windows directory.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace tsaver {

class SettingsFile {
 public:
  explicit SettingsFile(Platform& platform) : platform_(platform) {}

  // Binds to the path; no file is touched, so a missing file is no error.
  void Open(const std::string& path);
  // The stored value, at most 1023 characters, or the default when the file,
  // section or key is missing. Reads of one section between writes see the
  // section as it was at the first of them.
  std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue);
  // Raises ESettingsWriteError "Unable to write to %s" (the opened path) on failure.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  // The names of the section's keys, in file order; none when the file or section is missing.
  std::vector<std::string> KeyNames(const std::string& section);
  // Removes the section with all its keys; raises like WriteString.
  void EraseSection(const std::string& section);
  // Nothing to flush: every write has gone to the file already.
  void Release();

  const std::string& path() const { return path_; }

 private:
  // A reader probes hundreds of keys of which a section holds a few, and every
  // platform read parses the whole file. So the section's key names are listed
  // once: any other key gets the platform's answer for a key that no file can
  // hold, asked once per default (a missing key's answer is the default as the
  // platform treats it). A key that may be among them is answered from the file's
  // text, read once, by the profile functions' rules where the text is plain ASCII
  // and holds the key; otherwise by the platform. A log of a thousand files would
  // cost a thousand reads of the whole file, each three server calls under Wine.
  struct SectionKeys {
    bool known = false;
    std::string section;
    // The listed names in capitals, sorted (a name's first place stands for it); any
    // name beyond plain ASCII makes every key a candidate.
    std::vector<std::string> upperNames;
    bool beyondAscii = false;
    std::vector<std::pair<std::string, std::string>> missingKeyAnswers;  // default, answer
    // The values in the file's text, when it is plain, of the listed names in their order.
    std::optional<std::vector<std::optional<std::string>>> textValues;
  };
  std::optional<std::size_t> listedIndex(const std::string& upperName) const;
  void readSectionText(const std::string& text);
  // The value of the key in the file's text, when the text tells it.
  std::optional<std::string> valueInText(const std::string& key) const;
  void forgetSection();
  // False only when the platform cannot find the key among the listed names.
  bool mayHold(const std::string& key) const;

  Platform& platform_;
  std::string path_;
  SectionKeys keys_;
};

}  // namespace tsaver

#include "ProfileCases.h"

#include <vector>

namespace tsaver::differential {

namespace {

class CaseWriter {
 public:
  explicit CaseWriter(std::mt19937& random) : random_(random) {}

  std::string file() {
    static const char* const endings[] = {"\r\n", "\n", "\r"};
    mixedEndings_ = chance(10);
    ending_ = endings[below(3)];
    std::string text;
    if (chance(10)) text += line(keyLine("OUTSIDE"));  // before any section
    const int sections = 1 + static_cast<int>(below(6));
    for (int s = 0; s < sections; ++s) {
      const std::string name = sectionName();
      text += line(header(name));
      const int lines = static_cast<int>(below(12));
      for (int k = 0; k < lines; ++k) text += line(chance(15) ? oddLine() : keyLine(name));
    }
    if (chance(20)) text.pop_back();  // no line end after the last line
    return text;
  }

 private:
  std::size_t below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
  bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }
  template <std::size_t N>
  const char* pick(const char* const (&items)[N]) {
    return items[below(N)];
  }

  std::string line(const std::string& text) {
    static const char* const endings[] = {"\r\n", "\n", "\r", "\n\r", "\r\r\n"};
    return text + (mixedEndings_ ? endings[below(5)] : ending_);
  }

  std::string blanks() {
    static const char* const forms[] = {"", "", "", " ", "  ", "\t", " \t ", "\x1a", "\v", "\f", "\xa0"};
    return pick(forms);
  }

  std::string randomBytes(std::size_t most) {
    std::string text;
    const std::size_t length = below(most + 1);
    for (std::size_t i = 0; i < length; ++i) {
      // Mostly letters, then anything but line ends; a NUL now and then.
      const std::size_t kind = below(10);
      if (kind < 6)
        text += static_cast<char>('A' + below(26) + (chance(30) ? 32 : 0));
      else if (kind < 9)
        text += static_cast<char>(0x80 + below(0x80));
      else
        text += pick({"\0", " ", "=", "[", "]", ";", "\"", "'", "\t", "\x1a"})[0];
    }
    return text;
  }

  std::string withCase(std::string text) {
    const std::size_t how = below(4);
    for (char& c : text) {
      if (how == 1 && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
      if (how == 2 && c >= 'A' && c <= 'Z' && chance(50)) c = static_cast<char>(c + 32);
    }
    return text;
  }

  std::string sectionName() {
    static const char* const names[] = {"FILES",       "FILES",   "SHORTCUTS", "DESKTOP", "REGISTRY",
                                        "DIRECTORIES", "INIFILE", "INIFILE",   "OTHER",   "FILES ",
                                        " FILES",      "FI LES",  "",          "boot"};
    if (chance(8)) return randomBytes(12);
    return withCase(pick(names));
  }

  std::string header(const std::string& name) {
    const std::size_t form = below(12);
    const std::string b = blanks();
    switch (form) {
      case 0: return b + "[" + name;                    // no "]"
      case 1: return "[" + b + name + b + "]" + b;
      case 2: return "[" + name + "]" + " ; comment";
      case 3: return "[" + name + "]]";
      case 4: return "[" + name + "]x]";
      case 5: return b + "[" + name + "]" + b;
      default: return "[" + name + "]";
    }
  }

  std::string keyName(const std::string& section) {
    static const char* const stems[] = {"FILE", "SHORTCUT", "KEY", "DIRECTORY"};
    static const char* const fixed[] = {"CFGFILE", "SECTION", "CFGFILE", "SECTION", "DataPath", "SCRNSAVE.EXE"};
    std::string upper = section;
    for (char& c : upper)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    std::string stem;
    if (upper == "FILES") stem = "FILE";
    else if (upper == "SHORTCUTS" || upper == "DESKTOP") stem = "SHORTCUT";
    else if (upper == "REGISTRY") stem = "KEY";
    else if (upper == "DIRECTORIES") stem = "DIRECTORY";
    else stem = pick(stems);
    if (chance(15)) return withCase(pick(fixed));
    if (chance(5)) return randomBytes(10);
    static const char* const odd[] = {"0", "1000", "01", " 1", "+1", "1 ", "-1", "999", "998", "1.0"};
    const std::string number = chance(15) ? pick(odd) : std::to_string(1 + below(chance(80) ? 20 : 999));
    std::string name = withCase(stem) + number;
    if (chance(4)) name = ";" + name;
    if (chance(2)) name = "#" + name;
    return name;
  }

  std::string value() {
    static const char* const plain[] = {
        "Movie.swf", "TaskTray.exe", "C:\\WINDOWS\\Tessaryn.scr", "NONE", "none", "", "=", "==x", "a=b",
        "Tessaryn screen saver.lnk", "C:\\Program Files\\Tessaryn\\Screen Saver", "TSaver.ini", "Tessaryn"};
    const std::size_t form = below(20);
    const std::string v = chance(25) ? randomBytes(20) : pick(plain);
    switch (form) {
      case 0: return "\"" + v + "\"";
      case 1: return "'" + v + "'";
      case 2: return "\"" + v;
      case 3: return v + "\"";
      case 4: return "\"" + v + "'";
      case 5: return "\"";
      case 6: return "\"\"";
      case 7: return " \"" + v + "\" ";
      case 8: return std::string(1000 + below(60), 'v');
      case 9: return chance(50) ? std::string(5000, 'w') : "\"" + std::string(1022, 'q') + "\"";
      case 10: return v + std::string(1, '\0') + "after NUL";
      case 11: return v + "\t" + v;
      default: return v;
    }
  }

  std::string keyLine(const std::string& section) {
    const std::string name = keyName(section);
    switch (below(12)) {
      case 0: return name;  // no "="
      case 1: return blanks() + name + blanks() + "=" + blanks() + value() + blanks();
      case 2: return "=" + value();
      case 3: return name + " = " + value();
      default: return name + "=" + value();
    }
  }

  std::string oddLine() {
    static const char* const lines[] = {"", "", " ", "\t", "; a comment", "# not a comment", "no equals here",
                                        "\x1a", "\xef\xbb\xbf", "]", "[", "=", " = "};
    if (chance(20)) return randomBytes(60);
    if (chance(5)) return std::string(3000 + below(3000), 'L');
    return pick(lines);
  }

  std::mt19937& random_;
  bool mixedEndings_ = false;
  const char* ending_ = "\r\n";
};

}  // namespace

std::string profileCase(std::mt19937& random) { return CaseWriter(random).file(); }

}  // namespace tsaver::differential

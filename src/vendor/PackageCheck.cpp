#include "vendor/PackageCheck.h"

#include <algorithm>

#include "installer/InstallFiles.h"
#include "installer/main.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "uninstall_log/LogNames.h"
#include "uninstaller/LogValueRules.h"
#include "vendor/HeadlessWizard.h"

namespace tsaver::vendor {

namespace {

constexpr const char* kAfterFile = "After.txt";
constexpr const char* kExtrasFile = "Extras.txt";
constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";
// The longest path the file functions take, without the terminating NUL.
constexpr std::size_t kMaxPath = 259;
// The extra files are logged from FILE17 on; earlier uninstallers read up to FILE999.
constexpr int kFirstExtraNumber = kInstallFileSlots + 1;
constexpr int kExtrasOlderUninstallersRead = log::kLastNumber - kFirstExtraNumber + 1;

// MS-DOS device names: Windows opens the device for any file of that base name.
bool isReservedDeviceName(const std::string& name) {
  std::string base = upperAscii(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

bool hasCharacterWindowsRefuses(const std::string& name) {
  return std::any_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 32 || std::string("<>\"|?*").find(c) != std::string::npos;
  });
}

// An extra file must lie inside the package folder: no drive, no root, no "..".
bool isExtraFileInsideFolder(const std::string& line) {
  if (line.front() == '\\' || line.front() == '/' || line.find(':') != std::string::npos) return false;
  std::string::size_type start = 0;
  for (;;) {
    const auto end = line.find_first_of("\\/", start);
    if (line.substr(start, end == std::string::npos ? std::string::npos : end - start) == "..") return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

// The lines of a package text file as the installer's reader gives them, up to its end.
std::vector<std::string> textLines(const std::string& content) {
  TextReader reader(content);
  std::vector<std::string> lines;
  while (!reader.eof()) lines.push_back(reader.readLine());
  return lines;
}

class Checker {
 public:
  // The package as the wizard finds it when started from the package folder.
  explicit Checker(const PackageFolder& package) : package_(package), machine_(package), wizard_(machine_) {}

  std::vector<Finding> run() {
    checkMedium();
    checkDataFile();
    checkProgramFiles();
    checkOptions();
    checkPathLengths();
    checkExtras();
    return std::move(findings_);
  }

 private:
  void add(Severity severity, const char* rule, const std::string& file, std::optional<int> line,
           const std::string& message, const std::string& fix) {
    findings_.push_back({severity, rule, file, line, message, fix});
  }
  bool has(const std::string& name) { return machine_.fileExists(kSimulatedPackageDir + name); }
  std::string read(const std::string& name) { return machine_.readFile(kSimulatedPackageDir + name); }

  // A text file's encoding slips: a byte-order mark, lines ended by LF alone.
  void checkTextForm(const std::string& file, Severity severity) {
    const std::string content = read(file);
    if (content.compare(0, 3, kUtf8Bom) == 0)
      add(severity, "utf8-bom", file, 1, "starts with a UTF-8 byte-order mark, which becomes part of the first line",
          "save the file as ANSI text without a byte-order mark");
    const std::vector<std::string> lines = textLines(content);
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].find('\n') != std::string::npos) {
        add(severity, "lf-only", file, static_cast<int>(i + 1),
            "lines end with LF alone; the installer ends a line only at CR, so the LF and what follows stay in "
            "this line",
            "end every line with CR LF");
        break;
      }
  }

  void checkMedium() {
    const auto readOnly = std::count_if(package_.files.begin(), package_.files.end(),
                                        [](const PackageFile& f) { return f.readOnly; });
    if (readOnly == 0) return;
    const auto first = std::find_if(package_.files.begin(), package_.files.end(),
                                    [](const PackageFile& f) { return f.readOnly; });
    add(Severity::Info, "package-read-only", first->name, std::nullopt,
        std::to_string(readOnly) + " of " + std::to_string(package_.files.size()) +
            " package files are read-only, as on a CD: the installed copies are made writable, and the package's "
            "files stay where they are after the installation instead of being deleted",
        "nothing to do for a CD; make the files writable if the folder is meant to be cleared after installing");
  }

  void checkDataFile() {
    if (!has(kDataFile)) {
      add(Severity::Error, "no-data-file", kDataFile, std::nullopt,
          "the package has no Data.dat: the wizard closes at once and installs nothing",
          "add Data.dat with the product name in line 1 and the settings section in line 2");
      return;
    }
    checkTextForm(kDataFile, Severity::Error);
    product_ = wizard_.state.ProductName;
    const std::string& section = wizard_.state.SettingsSection;
    if (product_.find('\n') != std::string::npos) return;  // reported as lines ended by LF alone
    const std::string shown = "\"" + product_ + "\"";
    if (product_.empty()) {
      add(Severity::Error, "product-name-empty", kDataFile, 1,
          "line 1, the product name, is empty: every file, folder and link name built from it is wrong",
          "write the product name in line 1");
    } else if (!isUsableProductName(product_)) {
      add(Severity::Error, "product-name-refused", kDataFile, 1,
          "the installer refuses the product name " + shown +
              ": it holds \"\\\", \"/\" or \":\", or is \".\" or \"..\"",
          "choose a product name without these characters");
    } else if (hasCharacterWindowsRefuses(product_)) {
      add(Severity::Error, "product-name-character", kDataFile, 1,
          "the product name " + shown +
              " holds a character Windows refuses in file names (< > \" | ? * or a "
              "control character)",
          "remove the character from the product name");
    } else if (isReservedDeviceName(product_)) {
      add(Severity::Error, "product-name-reserved", kDataFile, 1,
          "the product name " + shown +
              " is a reserved device name: Windows opens the device instead of the file "
              "of that name",
          "choose another product name");
    } else if (product_.back() == '.' || product_.back() == ' ') {
      add(Severity::Error, "product-name-trailing", kDataFile, 1,
          "the product name " + shown + " ends with a dot or a blank, which Windows drops from folder names",
          "remove the trailing dot or blank");
    } else {
      productNameFits_ = true;
    }
    if (section.empty())
      add(Severity::Warning, "settings-section-empty", kDataFile, 2,
          "line 2, the section of TSaver.ini, is empty: the screen saver finds no settings of its own",
          "write the settings section's name in line 2");
    if (!logrules::isWhole(section))
      add(Severity::Warning, "settings-section-too-long", kDataFile, 2,
          "line 2, the section of TSaver.ini, is " + std::to_string(section.size()) +
              " characters long: the uninstall log's reader takes at most 1022 of it whole, so the removal leaves "
              "the section in TSaver.ini",
          "shorten the settings section's name");
  }

  // Where the installer puts its links: the folder the registry's Shell Folders name.
  std::string shellFolder(const char* name) {
    return machine_.registryValue("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name)
        .value_or("");
  }

  // The longest path of each kind that the installation makes, with the default
  // folders; Windows takes 259 characters, the shell 255 for a link.
  void checkPathLengths() {
    if (!productNameFits_) return;
    const InstallOptions& options = wizard_.state.Options;
    const std::string installDir = wizard_.install->InstallDir();
    struct Made {
      std::string path;
      std::size_t limit;
      const char* failure;
    };
    std::vector<Made> made = {
        {installDir + "\\" + product_ + ".ico", kMaxPath, "its copy fails and the installation is aborted"},
        {machine_.windowsDirectory() + "\\" + product_ + ".scr", kMaxPath,
         "its copy fails and the installation is aborted"}};
    if (options.GroupOption == "True") {
      const char* const link = options.TrayOption != "False"     ? " task tray program.lnk"
                               : options.DesktopOption != "False" ? " screen saver.lnk"
                                                                  : "";
      if (*link)
        made.push_back({shellFolder("Programs") + "\\" + product_ + " screen saver\\" + product_ +
                            link,
                        kShellLinkTextLimit, "the link cannot be written and the installation stops with an error"});
    }
    if (options.DesktopOption == "True")
      made.push_back({shellFolder("Desktop") + "\\" + product_ + " screen saver.lnk", kShellLinkTextLimit,
                      "the link cannot be written and the installation stops with an error"});
    for (const Made& m : made)
      if (m.path.size() > m.limit) {
        add(Severity::Error, "product-name-too-long", kDataFile, 1,
            "the product name makes the path " + m.path + " " + std::to_string(m.path.size()) +
                " characters long, more than the " + std::to_string(m.limit) + " Windows takes: " + m.failure,
            "shorten the product name");
        return;
      }
  }

  void checkProgramFiles() {
    if (!has("Install.exe"))
      add(Severity::Error, "no-install-program", "Install.exe", std::nullopt,
          "the package has no Install.exe: the installed Uninstall.exe and its link are missing, so the product "
          "cannot be removed",
          "put the installer into the package as Install.exe");
    if (product_.empty() || !isUsableProductName(product_)) return;
    const std::string saver = product_ + ".scr";
    if (!has(saver))
      add(Severity::Error, "no-screen-saver", saver, std::nullopt,
          "the package has no " + saver + ": System.ini's SCRNSAVE.EXE will name no screen saver",
          "add the screen saver file, named after line 1 of Data.dat");
    if (!has(kFlashControl))
      add(Severity::Warning, "no-flash-control", kFlashControl, std::nullopt,
          "the package has no SWFlash.ocx: the screen saver relies on a Flash control already installed",
          "add SWFlash.ocx unless every user has it");
  }

  void checkOption(const std::string& value, int line, const char* name) {
    if (value.empty() || value == "True" || value == "False") return;
    const bool nearMiss =
        upperAscii(value).find("TRUE") != std::string::npos || upperAscii(value).find("FALSE") != std::string::npos;
    add(Severity::Warning, "option-not-exact", kAfterFile, line,
        std::string(name) + " \"" + value + "\" is neither \"True\" nor \"False\"" +
            (nearMiss ? ": the installer compares exactly, with case and blanks" : ""),
        "write exactly True or False");
  }

  void checkOptions() {
    if (!has(kAfterFile)) {
      add(Severity::Warning, "no-options-file", kAfterFile, std::nullopt,
          "the package has no After.txt: no program group, desktop link or tray program is made, and nothing "
          "follows Finish",
          "add After.txt with the action and the three options, one a line");
      return;
    }
    checkTextForm(kAfterFile, Severity::Warning);
    wizard_.install->btn_next->click();  // the welcome page's Next reads the options
    const InstallOptions& options = wizard_.state.Options;
    checkOption(options.TrayOption, 2, "the tray option");
    checkOption(options.DesktopOption, 3, "the desktop option");
    checkOption(options.GroupOption, 4, "the program group option");
    const std::string& action = options.PostInstallAction;
    int number = 0;
    try {
      number = strToInt(action);
    } catch (const EConvertError&) {
    }
    if (!action.empty() && (number < 1 || number > 3))
      add(Severity::Warning, "action-unknown", kAfterFile, 1,
          "the post-install action \"" + action + "\" is none of 1, 2 or 3: nothing follows Finish",
          "write 1 (start the screen saver), 2 (display settings) or 3 (show Readme.txt)");
    if (number == 3 && !has("Readme.txt"))
      add(Severity::Warning, "action-readme-missing", kAfterFile, 1,
          "post-install action 3 shows Readme.txt, but the package has none: nothing follows Finish",
          "add Readme.txt or choose another action");
    const bool group = options.GroupOption == "True";
    const bool trayUsed = options.TrayOption == "True" || (group && options.TrayOption != "False");
    const bool desktopUsed = options.DesktopOption == "True" || (group && options.DesktopOption != "False");
    if (trayUsed && !has(kTrayProgram))
      add(Severity::Error, "tray-program-missing", kAfterFile, 2,
          "the options make a link or Run value for TaskTray.exe, but the package has none: they point to nothing",
          "add TaskTray.exe or set line 2 to False");
    if (desktopUsed && !has(kDesktopProgram))
      add(Severity::Error, "desktop-program-missing", kAfterFile, 3,
          "the options make a link to RunSaver.exe, but the package has none: it points to nothing",
          "add RunSaver.exe or set line 3 to False");
  }

  void checkExtras() {
    if (!has(kExtrasFile)) return;
    checkTextForm(kExtrasFile, Severity::Warning);
    const std::vector<std::string> lines = textLines(read(kExtrasFile));
    const std::string installDir = wizard_.install->InstallDir();
    int installed = 0;
    bool listEnded = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      const int number = static_cast<int>(i + 1);
      if (line.empty()) {
        listEnded = true;
      } else if (listEnded) {
        add(Severity::Warning, "extras-after-empty-line", kExtrasFile, number,
            "\"" + line + "\" follows an empty line: the list ends at the first empty line, so it is not installed",
            "remove the empty line above it");
      } else if (!isExtraFileInsideFolder(line)) {
        add(Severity::Error, "extra-file-outside", kExtrasFile, number,
            "\"" + line + "\" does not name a file inside the package folder: the installer passes it over",
            "name the file relative to the package folder, without a drive, a leading \"\\\" or \"..\"");
      } else if (line.find_first_of("\\/") != std::string::npos) {
        add(Severity::Error, "extra-file-in-subfolder", kExtrasFile, number,
            "\"" + line + "\" names a file in a subfolder: the installer copies only files that lie directly in "
                "the package folder, the ones the removal deletes again, so it is not installed",
            "move the file into the package folder itself and list its bare name");
      } else if (upperAscii(line) == upperAscii(log::kUninstallerName) || upperAscii(line) == upperAscii(log::kFileName)) {
        add(Severity::Error, "extra-file-reserved", kExtrasFile, number,
            "\"" + line + "\" is the name of the uninstaller or of its log: the installer passes it over",
            "rename the file");
      } else if (installDir.size() + 1 + line.size() > kMaxPath) {
        add(Severity::Error, "extra-path-too-long", kExtrasFile, number,
            "\"" + line.substr(0, 40) + (line.size() > 40 ? "...\"" : "\"") + " would be installed at a path of " +
                std::to_string(installDir.size() + 1 + line.size()) + " characters in the default install "
                "directory, more than the " + std::to_string(kMaxPath) + " Windows takes: it is not installed",
            "shorten the file's name");
      } else if (!has(line)) {
        add(Severity::Error, "extra-file-missing", kExtrasFile, number,
            "\"" + line + "\" is listed but not in the package: it will not be installed",
            "add the file to the package or remove the line");
      } else if (++installed == kExtrasOlderUninstallersRead + 1) {
        add(Severity::Warning, "extras-beyond-older-uninstaller", kExtrasFile, number,
            "\"" + line + "\" and the extra files after it are logged as FILE1000 and up: this version's "
                "uninstaller removes them, but one of an earlier version reads only FILE1 to FILE999 and leaves "
                "them behind",
            "ship this version's Install.exe, or list at most " + std::to_string(kExtrasOlderUninstallersRead) +
                " extra files");
      }
    }
  }

  struct PackageMachine : SimulatedWindows {
    explicit PackageMachine(const PackageFolder& package) { putPackage(*this, package); }
  };

  const PackageFolder& package_;
  PackageMachine machine_;
  HeadlessWizard wizard_;
  std::vector<Finding> findings_;
  std::string product_;
  bool productNameFits_ = false;  // usable as a name; its paths are checked once the options are known
};

}  // namespace

std::vector<Finding> checkPackage(const PackageFolder& package) { return Checker(package).run(); }

bool hasErrors(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.severity == Severity::Error; });
}

}  // namespace tsaver::vendor

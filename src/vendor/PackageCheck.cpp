#include "vendor/PackageCheck.h"

#include <algorithm>

#include "installer/InstallFiles.h"
#include "installer/main.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "vendor/HeadlessWizard.h"

namespace tsaver::vendor {

namespace {

constexpr const char* kAfterFile = "After.txt";
constexpr const char* kExtrasFile = "Extras.txt";
constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";
// The longest path the file functions take, without the terminating NUL.
constexpr std::size_t kMaxPath = 259;

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
    } else if (const std::string icon = wizard_.install->InstallDir() + "\\" + product_ + ".ico";
               icon.size() > kMaxPath) {
      add(Severity::Error, "product-name-too-long", kDataFile, 1,
          "the product name is so long that the installed icon's path, " + std::to_string(icon.size()) +
              " characters in the default install directory, exceeds Windows' limit of " + std::to_string(kMaxPath),
          "shorten the product name");
    }
    if (section.empty())
      add(Severity::Warning, "settings-section-empty", kDataFile, 2,
          "line 2, the section of TSaver.ini, is empty: the screen saver finds no settings of its own",
          "write the settings section's name in line 2");
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
      } else if (!has(line)) {
        add(Severity::Error, "extra-file-missing", kExtrasFile, number,
            "\"" + line + "\" is listed but not in the package: it will not be installed",
            "add the file to the package or remove the line");
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
};

}  // namespace

std::vector<Finding> checkPackage(const PackageFolder& package) { return Checker(package).run(); }

bool hasErrors(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.severity == Severity::Error; });
}

}  // namespace tsaver::vendor

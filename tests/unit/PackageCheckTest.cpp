// The package checker on a table of broken packages: one row per rule, each a
// sound package with one slip.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "vendor/PackageCheck.h"
#include "vendor/Reports.h"

namespace tsaver::vendor {
namespace {

PackageFolder soundPackage() {
  PackageFolder package;
  package.files = {{"Data.dat", "Tessaryn\r\nTessaryn\r\n"},
                   {"After.txt", "1\r\nTrue\r\nTrue\r\nTrue\r\n"},
                   {"Extras.txt", "Wallpaper.bmp\r\n"},
                   {"Wallpaper.bmp", "w"},
                   {"Install.exe", "program"}};
  for (const char* name :
       {"Tessaryn.scr", "SWFlash.ocx", "Saver.exe", "Movie.swf", "TaskTray.exe", "Contacts.bmp", "Tessaryn.ico",
        "Readme.txt", "RunSaver.exe", "Settings.txt", "Preview.bmp", "Path.dat", "Config.swf", "Config.bmp"})
    package.files.push_back({name, name});
  return package;
}

void put(PackageFolder& package, const std::string& name, const std::string& content) {
  for (PackageFile& file : package.files)
    if (file.name == name) {
      file.content = content;
      return;
    }
  package.files.push_back({name, content});
}

void drop(PackageFolder& package, const std::string& name) {
  package.files.erase(
      std::remove_if(package.files.begin(), package.files.end(), [&](const PackageFile& f) { return f.name == name; }),
      package.files.end());
}

struct Row {
  const char* rule;
  std::function<void(PackageFolder&)> slip;
  Severity severity;
  const char* file;
  std::optional<int> line;
};

const Row kRows[] = {
    {"no-data-file", [](PackageFolder& p) { drop(p, "Data.dat"); }, Severity::Error, "Data.dat", std::nullopt},
    {"lf-only", [](PackageFolder& p) { put(p, "Data.dat", "Tessaryn\nTessaryn\n"); }, Severity::Error, "Data.dat", 1},
    {"utf8-bom", [](PackageFolder& p) { put(p, "Data.dat", "\xEF\xBB\xBFTessaryn\r\nT\r\n"); }, Severity::Error,
     "Data.dat", 1},
    {"product-name-empty", [](PackageFolder& p) { put(p, "Data.dat", "\r\nTessaryn\r\n"); }, Severity::Error,
     "Data.dat", 1},
    {"product-name-refused", [](PackageFolder& p) { put(p, "Data.dat", "..\r\nTessaryn\r\n"); }, Severity::Error,
     "Data.dat", 1},
    {"product-name-character", [](PackageFolder& p) { put(p, "Data.dat", "Tess?ryn\r\nTessaryn\r\n"); },
     Severity::Error, "Data.dat", 1},
    {"product-name-reserved", [](PackageFolder& p) { put(p, "Data.dat", "com1\r\nTessaryn\r\n"); }, Severity::Error,
     "Data.dat", 1},
    {"product-name-trailing", [](PackageFolder& p) { put(p, "Data.dat", "Tessaryn.\r\nTessaryn\r\n"); },
     Severity::Error, "Data.dat", 1},
    // Its icon's path would fit; the tray program's link in the group does not.
    {"product-name-too-long", [](PackageFolder& p) { put(p, "Data.dat", std::string(100, 'x') + "\r\nTessaryn\r\n"); },
     Severity::Error, "Data.dat", 1},
    {"settings-section-too-long",
     [](PackageFolder& p) { put(p, "Data.dat", "Tessaryn\r\n" + std::string(1023, 's') + "\r\n"); },
     Severity::Warning, "Data.dat", 2},
    {"settings-section-empty", [](PackageFolder& p) { put(p, "Data.dat", "Tessaryn\r\n"); }, Severity::Warning,
     "Data.dat", 2},
    {"no-install-program", [](PackageFolder& p) { drop(p, "Install.exe"); }, Severity::Error, "Install.exe",
     std::nullopt},
    {"no-screen-saver", [](PackageFolder& p) { drop(p, "Tessaryn.scr"); }, Severity::Error, "Tessaryn.scr",
     std::nullopt},
    {"no-flash-control", [](PackageFolder& p) { drop(p, "SWFlash.ocx"); }, Severity::Warning, "SWFlash.ocx",
     std::nullopt},
    {"no-options-file", [](PackageFolder& p) { drop(p, "After.txt"); }, Severity::Warning, "After.txt", std::nullopt},
    {"option-not-exact", [](PackageFolder& p) { put(p, "After.txt", "1\r\nTrue\r\nTrue \r\nTrue\r\n"); },
     Severity::Warning, "After.txt", 3},
    {"lf-only", [](PackageFolder& p) { put(p, "After.txt", "1\nTrue\nTrue\nTrue\n"); }, Severity::Warning, "After.txt",
     1},
    {"action-unknown", [](PackageFolder& p) { put(p, "After.txt", "one\r\nTrue\r\nTrue\r\nTrue\r\n"); },
     Severity::Warning, "After.txt", 1},
    {"action-readme-missing",
     [](PackageFolder& p) {
       put(p, "After.txt", "3\r\nTrue\r\nTrue\r\nTrue\r\n");
       drop(p, "Readme.txt");
     },
     Severity::Warning, "After.txt", 1},
    // The group alone makes the tray program's link: "True" in line 2 is not needed for it.
    {"tray-program-missing",
     [](PackageFolder& p) {
       put(p, "After.txt", "1\r\n\r\nTrue\r\nTrue\r\n");
       drop(p, "TaskTray.exe");
     },
     Severity::Error, "After.txt", 2},
    {"desktop-program-missing", [](PackageFolder& p) { drop(p, "RunSaver.exe"); }, Severity::Error, "After.txt", 3},
    {"extras-after-empty-line", [](PackageFolder& p) { put(p, "Extras.txt", "Wallpaper.bmp\r\n\r\nSaver.exe\r\n"); },
     Severity::Warning, "Extras.txt", 3},
    {"extra-file-missing", [](PackageFolder& p) { put(p, "Extras.txt", "Wallpaper.bmp\r\nSky.bmp\r\n"); },
     Severity::Error, "Extras.txt", 2},
    {"extra-file-outside", [](PackageFolder& p) { put(p, "Extras.txt", "..\\Wallpaper.bmp\r\n"); }, Severity::Error,
     "Extras.txt", 1},
    {"extra-file-in-subfolder",
     [](PackageFolder& p) {
       put(p, "Extras.txt", "Wallpaper.bmp\r\nsub\\Sky.bmp\r\n");
       put(p, "sub\\Sky.bmp", "s");
     },
     Severity::Error, "Extras.txt", 2},
    {"extra-file-reserved",
     [](PackageFolder& p) {
       put(p, "Extras.txt", "UNINSTALL.ini\r\n");
       put(p, "UNINSTALL.ini", "[FILES]");
     },
     Severity::Error, "Extras.txt", 1},
    {"extra-path-too-long",
     [](PackageFolder& p) {
       put(p, "Extras.txt", "Wallpaper.bmp\r\n" + std::string(1100, 'w') + "\r\n");
       put(p, std::string(1100, 'w'), "w");
     },
     Severity::Error, "Extras.txt", 2},
    {"extras-beyond-older-uninstaller",
     [](PackageFolder& p) {
       std::string list;
       for (int n = 1; n <= 990; ++n) {
         list += "Extra" + std::to_string(n) + ".bmp\r\n";
         put(p, "Extra" + std::to_string(n) + ".bmp", "e");
       }
       put(p, "Extras.txt", list);
     },
     Severity::Warning, "Extras.txt", 984},
    {"package-read-only",
     [](PackageFolder& p) {
       for (PackageFile& file : p.files) file.readOnly = true;
     },
     Severity::Info, "Data.dat", std::nullopt},
};

TEST(PackageCheck, ASoundPackageHasNoFindings) { EXPECT_THAT(checkPackage(soundPackage()), ::testing::IsEmpty()); }

TEST(PackageCheck, EachSlipIsFoundWithItsSeverityFileAndLine) {
  for (const Row& row : kRows) {
    PackageFolder package = soundPackage();
    row.slip(package);
    const std::vector<Finding> findings = checkPackage(package);
    const auto found = std::find_if(findings.begin(), findings.end(), [&](const Finding& f) {
      return f.rule == row.rule && f.file == row.file && f.line == row.line;
    });
    ASSERT_NE(found, findings.end()) << row.rule << " " << row.file << "\n" << findingsText(findings);
    EXPECT_EQ(found->severity, row.severity) << row.rule;
    EXPECT_FALSE(found->message.empty() || found->fix.empty()) << row.rule;
    EXPECT_EQ(hasErrors(findings), row.severity == Severity::Error) << row.rule << "\n" << findingsText(findings);
  }
}

TEST(PackageCheck, JsonGivesNullForAFindingWithoutLine) {
  PackageFolder package = soundPackage();
  drop(package, "SWFlash.ocx");
  put(package, "Data.dat", "Tessaryn\r\n");
  EXPECT_EQ(findingsJson(checkPackage(package)),
            "{\"findings\": [{\"severity\": \"warning\", \"rule\": \"settings-section-empty\", \"file\": \"Data.dat\", "
            "\"line\": 2, \"message\": \"line 2, the section of TSaver.ini, is empty: the screen saver finds no "
            "settings of its own\", \"fix\": \"write the settings section's name in line 2\"}, {\"severity\": "
            "\"warning\", \"rule\": \"no-flash-control\", \"file\": \"SWFlash.ocx\", \"line\": null, \"message\": "
            "\"the package has no SWFlash.ocx: the screen saver relies on a Flash control already installed\", "
            "\"fix\": \"add SWFlash.ocx unless every user has it\"}]}\n");
}

}  // namespace
}  // namespace tsaver::vendor

#include "e2e/ProductPackage.h"

#include "e2e/MachineState.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Wait.h"

namespace e2e {

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// What a product file holds: a fixture program where the product starts it,
// else a text that names it, so that a copy can be told from its source.
std::string fixtureFor(const std::string& name, const std::string& product) {
  if (name == product + ".scr" || name == "Saver.exe") return "Saver.exe";
  if (name == "SWFlash.ocx" || name == "TaskTray.exe" || name == "RunSaver.exe") return name;
  return "";
}

}  // namespace

std::string defaultInstallDir(const std::string& product) { return "C:\\Program Files\\" + product + "\\Screen Saver"; }

std::string settingsSection(const std::string& product) { return product + "Settings"; }

std::vector<ProductFile> productFiles(const std::string& product) {
  return {{product + ".scr", true}, {"SWFlash.ocx", true},   {"Saver.exe", false},    {"Movie.swf", false},
          {"TaskTray.exe", false},  {"Data.dat", false},     {"Contacts.bmp", false}, {product + ".ico", false},
          {"Readme.txt", false},    {"RunSaver.exe", false}, {"Settings.txt", false}, {"Preview.bmp", false},
          {"Path.dat", false},      {"Config.swf", false},   {"Config.bmp", false}};
}

ProgramBuild thisBuild() { return {installExe(), fixturesDir()}; }

Package makeProductPackage(const std::string& product, const std::string& afterTxt, const ProgramBuild& build) {
  Package package(product);
  package.copyIn(build.installExe, "INSTALL.EXE");
  for (const ProductFile& file : productFiles(product)) {
    const std::string fixture = fixtureFor(file.name, product);
    if (!fixture.empty())
      package.copyIn(build.fixturesDir + fixture, file.name);
    else if (file.name != "Data.dat")
      package.write(file.name, file.name + " of " + product);
  }
  package.write("Data.dat", product + "\r\n" + settingsSection(product) + "\r\n");
  if (!afterTxt.empty()) package.write("After.txt", afterTxt);
  return package;
}

std::string shellFolder(const std::string& name) {
  const std::string folder =
      userRegistryString("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name);
  if (folder == "<none>") throw RobotError("no shell folder " + name + " in the registry");
  return folder;
}

std::string groupDir(const std::string& product) { return shellFolder("Programs") + "\\" + product + " screen saver"; }

void forgetProduct(const std::string& product) {
  removePath("C:\\Program Files\\" + product);
  removePath(windowsDir() + "\\" + product + ".ini");
  removePath(windowsDir() + "\\" + product + ".scr");
  removePath(groupDir(product));
  for (const char* link : {" task tray program.lnk", " screen saver.lnk"})
    removePath(shellFolder("Programs") + "\\" + product + link);
  removePath(shellFolder("Desktop") + "\\" + product + " screen saver.lnk");
  deleteUserRegistryValue(kRunKey, product + " screen saver");
  // In both views: the program under test may be of the other bitness.
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY})
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstallEntries) + "\\" + product + " screen saver").c_str(),
                    view, 0);
  WritePrivateProfileStringA(settingsSection(product).c_str(), nullptr, nullptr, "TSaver.ini");
}

}  // namespace e2e

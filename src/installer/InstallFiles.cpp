#include "installer/InstallFiles.h"

#include "platform/TextFile.h"

namespace tsaver {

void fillInstallFiles(Platform& platform, WizardState& state) {
  const std::string& name = state.ProductName;
  state.InstallFiles = {name + ".scr",  kFlashControl,  "Saver.exe",    "Movie.swf",   kTrayProgram, kDataFile,
                        "",             kTrayBitmap,    name + ".ico",  "Readme.txt",  kDesktopProgram,
                        "Settings.txt", "Preview.bmp",  "Path.dat",     "Config.swf",  "Config.bmp"};
  for (int n = 0; n < kInstallFileSlots; ++n)
    state.InPackage[n] = !state.InstallFiles[n].empty() && platform.fileExists(state.SourceDir + state.InstallFiles[n]);
  state.ExtrasInPackage = platform.fileExists(state.SourceDir + kExtrasList);
}

bool skippedByOptions(const std::string& fileName, const InstallOptions& options) {
  if (fileName == kTrayProgram || fileName == kTrayBitmap) return options.TrayOption == "False";
  if (fileName == kDesktopProgram) return options.DesktopOption == "False";
  return false;
}

InstallOptions readInstallOptions(Platform& platform, const std::string& path) {
  TextReader reader(platform, path);
  InstallOptions options;
  options.PostInstallAction = reader.readLine();
  options.TrayOption = reader.readLine();
  options.DesktopOption = reader.readLine();
  options.GroupOption = reader.readLine();
  return options;
}

}  // namespace tsaver

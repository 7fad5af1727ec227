// The package's text files as the installer and `saverpkg check` and `plan` read
// them: one input split at its first two bytes 0x1E into "Data.dat", "After.txt"
// and "Extras.txt", in a package that holds the product's files and the files the
// lists name; checked, planned through Finish and the removal, and reported.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/TextFile.h"
#include "vendor/InstallPlan.h"
#include "vendor/PackageCheck.h"
#include "vendor/Reports.h"

namespace {

using namespace tsaver::vendor;

constexpr char kSeparator = '\x1e';
// The extra files given a file each; the list may go on.
constexpr int kExtraFilesMade = 8;

// Up to three parts: the text before the first separator, between the two, after the second.
std::vector<std::string> parts(const std::string& input) {
  std::vector<std::string> out;
  std::string::size_type at = 0;
  for (;;) {
    const auto end = out.size() < 2 ? input.find(kSeparator, at) : std::string::npos;
    out.push_back(input.substr(at, end == std::string::npos ? std::string::npos : end - at));
    if (end == std::string::npos) return out;
    at = end + 1;
  }
}

// A file of that name in the package, as far as a folder on disk can hold one.
void addNamed(PackageFolder& package, const std::string& name) {
  if (name.empty() || name.find('\0') != std::string::npos || name.find('/') != std::string::npos) return;
  if (!package.find(name)) package.files.push_back({name, "named"});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> texts = parts(input);
  PackageFolder package;
  package.dir = "package";
  const char* const names[] = {"Data.dat", "After.txt", "Extras.txt"};
  for (std::size_t i = 0; i < texts.size(); ++i) package.files.push_back({names[i], texts[i]});
  const std::string& dataDat = texts[0];
  const std::string extras = texts.size() == 3 ? texts[2] : std::string();
  for (const char* name : {"Install.exe", "Saver.exe", "Movie.swf", "TaskTray.exe", "Contacts.bmp", "Readme.txt",
                           "RunSaver.exe", "SWFlash.ocx"})
    package.files.push_back({name, "product"});
  const std::string product = tsaver::TextReader(dataDat).readLine();
  addNamed(package, product + ".scr");
  addNamed(package, product + ".ico");
  tsaver::TextReader extraLines(extras);
  for (int i = 0; i < kExtraFilesMade && !extraLines.eof(); ++i) addNamed(package, extraLines.readLine());

  const auto findings = checkPackage(package);
  findingsText(findings);
  findingsJson(findings);
  const InstallPlan plan = planInstallation(package, MachineFacts{});
  planText(plan);
  planJson(plan);
  return 0;
}

// saverpkg: the vendor's tool for an install package folder.
//   saverpkg check DIR [--json]
//   saverpkg plan DIR [--install-dir DIR] [--windows-dir DIR] [--programs DIR] [--desktop DIR] [--json]
//   saverpkg pack DIR -o FILE.exe [--extractor FILE] [--json]
//   saverpkg verify FILE.exe [--json]
// Exit code 0: no errors; 1: errors (check, and pack, which then writes nothing),
// an installation that does not finish (plan), a damaged file (verify); 2: the
// folder or a file cannot be read or written, or the call is wrong.
#include <cstdio>
#include <exception>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "vendor/InstallPlan.h"
#include "vendor/PackageCheck.h"
#include "vendor/PackageFolder.h"
#include "vendor/PackedSetup.h"
#include "vendor/Reports.h"

namespace {

using namespace tsaver::vendor;

constexpr int kFine = 0;
constexpr int kErrors = 1;
constexpr int kBadCall = 2;

const char kUsage[] =
    "usage: saverpkg check DIR [--json]\n"
    "       saverpkg plan DIR [--install-dir DIR] [--windows-dir DIR] [--programs DIR] [--desktop DIR] [--json]\n"
    "       saverpkg pack DIR -o FILE.exe [--extractor FILE] [--json]\n"
    "       saverpkg verify FILE.exe [--json]\n";

// A file that cannot be read or written: the call cannot be carried out.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string readBinary(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::string bytes(in ? static_cast<std::size_t>(in.tellg()) : 0, '\0');
  if (!in || !in.seekg(0) || !in.read(&bytes[0], static_cast<std::streamsize>(bytes.size())))
    throw FileError("cannot read \"" + path + "\"");
  return bytes;
}

void writeBinary(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush())
    throw FileError("cannot write \"" + path + "\"");
}

// The extractor that the Linux tool packs is the i686 build's; a Windows build's is beside it.
std::string defaultExtractor(const std::string& self) {
#ifdef TSAVER_EXTRACTOR
  (void)self;
  return TSAVER_EXTRACTOR;
#else
  return self.substr(0, self.find_last_of("\\/") + 1) + "Extractor.exe";
#endif
}

int usage(const std::string& problem) {
  std::fprintf(stderr, "saverpkg: %s\n%s", problem.c_str(), kUsage);
  return kBadCall;
}

void print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

int run(const std::string& self, const std::vector<std::string>& args) {
  if (args.size() < 2) return usage("a command and a package folder are needed");
  const std::string& command = args[0];
  if (command != "check" && command != "plan" && command != "pack" && command != "verify")
    return usage("unknown command \"" + command + "\"");
  std::map<std::string, std::string*> valued;
  MachineFacts facts;
  std::string output, extractor = defaultExtractor(self);
  if (command == "plan")
    valued = {{"--install-dir", &facts.installDir},
              {"--windows-dir", &facts.windowsDir},
              {"--programs", &facts.programsDir},
              {"--desktop", &facts.desktopDir}};
  if (command == "pack") valued = {{"-o", &output}, {"--extractor", &extractor}};
  std::string operand;  // the package folder, or the file to verify
  bool json = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const auto option = valued.find(args[i]);
    if (args[i] == "--json") {
      json = true;
    } else if (option != valued.end()) {
      if (++i == args.size() || args[i].empty()) return usage(option->first + " needs a value");
      *option->second = args[i];
    } else if (args[i].rfind("-", 0) == 0 || !operand.empty()) {
      return usage("unexpected \"" + args[i] + "\"");
    } else {
      operand = args[i];
    }
  }
  if (operand.empty()) return usage(command == "verify" ? "the file is missing" : "the package folder is missing");
  if (command == "pack" && output.empty()) return usage("pack needs -o FILE.exe");

  if (command == "verify") {
    const std::string content = readBinary(operand);
    const SetupCheck check = checkSetup(content);
    print(json ? setupCheckJson(operand, content, check) : setupCheckText(operand, content, check));
    return check.problem == tsaver::packed::Problem::None ? kFine : kErrors;
  }
  const PackageFolder package = readPackageFolder(operand);
  if (command != "plan") {
    const std::vector<Finding> findings = checkPackage(package);
    if (command == "check" || hasErrors(findings)) {
      print(json ? findingsJson(findings) : findingsText(findings));
      return hasErrors(findings) ? kErrors : kFine;
    }
    const PackedSetup setup = packSetup(package, readBinary(extractor));
    writeBinary(output, setup.bytes);
    print(json ? packJson(output, setup, findings) : packText(output, setup, findings));
    return kFine;
  }
  const InstallPlan plan = planInstallation(package, facts);
  print(json ? planJson(plan) : planText(plan));
  return plan.completed ? kFine : kErrors;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argv[0], std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {  // the folder or a file could not be read or written
    std::fprintf(stderr, "saverpkg: %s\n", e.what());
    return kBadCall;
  }
}

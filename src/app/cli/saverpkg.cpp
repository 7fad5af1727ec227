// saverpkg: the vendor's tool for an install package folder.
//   saverpkg check DIR [--json]
//   saverpkg plan DIR [--install-dir DIR] [--windows-dir DIR] [--programs DIR] [--desktop DIR] [--json]
// Exit code 0: no errors; 1: errors (check), or an installation that does not
// finish (plan); 2: the folder cannot be read or the call is wrong.
#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "vendor/InstallPlan.h"
#include "vendor/PackageCheck.h"
#include "vendor/PackageFolder.h"
#include "vendor/Reports.h"

namespace {

using namespace tsaver::vendor;

constexpr int kFine = 0;
constexpr int kErrors = 1;
constexpr int kBadCall = 2;

const char kUsage[] =
    "usage: saverpkg check DIR [--json]\n"
    "       saverpkg plan DIR [--install-dir DIR] [--windows-dir DIR] [--programs DIR] [--desktop DIR] [--json]\n";

int usage(const std::string& problem) {
  std::fprintf(stderr, "saverpkg: %s\n%s", problem.c_str(), kUsage);
  return kBadCall;
}

void print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

int run(const std::vector<std::string>& args) {
  if (args.size() < 2) return usage("a command and a package folder are needed");
  const std::string& command = args[0];
  if (command != "check" && command != "plan") return usage("unknown command \"" + command + "\"");
  std::map<std::string, std::string*> valued;
  MachineFacts facts;
  if (command == "plan")
    valued = {{"--install-dir", &facts.installDir},
              {"--windows-dir", &facts.windowsDir},
              {"--programs", &facts.programsDir},
              {"--desktop", &facts.desktopDir}};
  std::string dir;
  bool json = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const auto option = valued.find(args[i]);
    if (args[i] == "--json") {
      json = true;
    } else if (option != valued.end()) {
      if (++i == args.size() || args[i].empty()) return usage(option->first + " needs a value");
      *option->second = args[i];
    } else if (args[i].rfind("--", 0) == 0 || !dir.empty()) {
      return usage("unexpected \"" + args[i] + "\"");
    } else {
      dir = args[i];
    }
  }
  if (dir.empty()) return usage("the package folder is missing");

  const PackageFolder package = readPackageFolder(dir);
  if (command == "check") {
    const std::vector<Finding> findings = checkPackage(package);
    print(json ? findingsJson(findings) : findingsText(findings));
    return hasErrors(findings) ? kErrors : kFine;
  }
  const InstallPlan plan = planInstallation(package, facts);
  print(json ? planJson(plan) : planText(plan));
  return plan.completed ? kFine : kErrors;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {  // the folder could not be read
    std::fprintf(stderr, "saverpkg: %s\n", e.what());
    return kBadCall;
  }
}

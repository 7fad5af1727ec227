#include "vendor/Reports.h"

#include <algorithm>

#include "platform/Sha256.h"
#include "platform/TextFile.h"
#include "vendor/Json.h"

namespace tsaver::vendor {

namespace {

const char* severityName(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return "error";
    case Severity::Warning:
      return "warning";
    case Severity::Info:
      break;
  }
  return "info";
}

std::string launchText(const SimulatedWindows::Launch& launch) {
  if (launch.kind == SimulatedWindows::Launch::WinExec)
    return "WinExec " + launch.file + " (show " + std::to_string(launch.show) + ")";
  return "ShellExecute " + launch.file + (launch.parameters.empty() ? "" : " " + launch.parameters) + " (show " +
         std::to_string(launch.show) + ")";
}

std::string sha256Text(const std::string& content) { return hexText(sha256Of(content.data(), content.size())); }

std::string packedFilesText(const std::vector<PackedFileInfo>& files) {
  std::string out;
  for (const PackedFileInfo& f : files)
    out += "  " + f.name + "  " + std::to_string(f.bytes) + " bytes, " + std::to_string(f.packedBytes) + " packed\n";
  return out;
}

std::string packedFilesJson(const std::vector<PackedFileInfo>& files) {
  std::string out = "[";
  for (std::size_t i = 0; i < files.size(); ++i)
    out += std::string(i ? ", " : "") + "{\"name\": " + jsonString(files[i].name) +
           ", \"bytes\": " + std::to_string(files[i].bytes) +
           ", \"packedBytes\": " + std::to_string(files[i].packedBytes) + "}";
  return out + "]";
}

void section(std::string& out, const std::string& title, const std::vector<std::string>& lines) {
  out += title + (lines.empty() ? ": none\n" : ":\n");
  for (const std::string& line : lines) out += "  " + line + "\n";
}

}  // namespace

std::string findingsText(const std::vector<Finding>& findings) {
  std::string out;
  for (const Finding& f : findings) {
    out += f.file + (f.line ? ":" + std::to_string(*f.line) : "") + ": " + severityName(f.severity) + ": " + f.message +
           " [" + f.rule + "]\n  fix: " + f.fix + "\n";
  }
  const auto count = [&findings](Severity severity) {
    return std::to_string(std::count_if(findings.begin(), findings.end(),
                                        [severity](const Finding& f) { return f.severity == severity; }));
  };
  out += count(Severity::Error) + " error(s), " + count(Severity::Warning) + " warning(s), " + count(Severity::Info) +
         " info\n";
  return out;
}

namespace {

// "findings": [...], a member of an object.
std::string findingsMember(const std::vector<Finding>& findings) {
  std::string out = "\"findings\": [";
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    out += std::string(i ? ", " : "") + "{\"severity\": " + jsonString(severityName(f.severity)) +
           ", \"rule\": " + jsonString(f.rule) + ", \"file\": " + jsonString(f.file) +
           ", \"line\": " + (f.line ? std::to_string(*f.line) : "null") + ", \"message\": " + jsonString(f.message) +
           ", \"fix\": " + jsonString(f.fix) + "}";
  }
  return out + "]";
}

}  // namespace

std::string findingsJson(const std::vector<Finding>& findings) { return "{" + findingsMember(findings) + "}\n"; }

std::string planText(const InstallPlan& plan) {
  std::string out = "Product: " + plan.productName + "\nInstall directory: " + plan.installDir +
                    "\nMachine: Windows directory " + plan.facts.windowsDir + ", Programs " + plan.facts.programsDir +
                    ", Desktop " + plan.facts.desktopDir + "\n";
  if (!plan.completed) out += "The installation does not reach its finish page.\n";
  section(out, "Messages shown", plan.messages);
  std::vector<std::string> lines;
  for (const PlannedFile& f : plan.files)
    lines.push_back(f.path + "  <- " + (f.source.empty() ? "(written)" : f.source) + ", " + std::to_string(f.bytes) +
                    " bytes");
  section(out, "Files copied", lines);
  lines.clear();
  if (plan.pathFileContent) {
    lines.push_back(plan.pathFile);
    for (TextReader reader(*plan.pathFileContent); !reader.eof();) lines.push_back("  " + reader.readLine());
  }
  section(out, "Path file", lines);
  lines.clear();
  for (const SettingEntry& s : plan.settings) lines.push_back(s.file + " [" + s.section + "] " + s.key + "=" + s.value);
  section(out, "Settings-file entries", lines);
  lines.clear();
  for (const auto& r : plan.registry)
    lines.push_back(registryRootName(r.root) + std::string("\\") + r.key + " \"" + r.name + "\" = " +
                    registryDataText(r));
  section(out, "Registry values", lines);
  lines.clear();
  for (const PlannedLink& l : plan.links)
    lines.push_back(l.path + "\n    target " + l.data.target + "\n    working directory " + l.data.workingDir +
                    "\n    icon " + l.data.iconFile + "," + std::to_string(l.data.iconIndex));
  section(out, "Links", lines);
  lines.clear();
  for (const auto& launch : plan.programs) lines.push_back(launchText(launch));
  section(out, "Programs started", lines);
  section(out, "System calls", plan.systemCalls);
  out += "Uninstall log " + plan.installDir + "\\UNINSTALL.INI after Finish:\n";
  std::string current;
  for (const LogEntry& e : plan.log) {
    if (e.section != current) out += "  [" + (current = e.section) + "]\n";
    out += "  " + e.key + "=" + e.value + "\n";
  }
  section(out, "Deleted from the package folder when the wizard closes", plan.packageFilesDeleted);
  if (!plan.removalRan) {
    out += "The removal afterwards does not run.\n";
  } else {
    section(out, "Messages of the removal", plan.removalMessages);
    section(out, "A removal afterwards, started from its link with the tray program quit, removes", plan.removes);
    section(out, "and leaves", plan.leaves);
  }
  return out;
}

std::string planJson(const InstallPlan& plan) {
  std::string out = "{\"product\": " + jsonString(plan.productName) +
                    ", \"installDir\": " + jsonString(plan.installDir) +
                    ", \"completed\": " + (plan.completed ? "true" : "false") +
                    ", \"messages\": " + jsonStrings(plan.messages) + ", \"files\": [";
  for (std::size_t i = 0; i < plan.files.size(); ++i)
    out += std::string(i ? ", " : "") + "{\"path\": " + jsonString(plan.files[i].path) +
           ", \"source\": " + jsonString(plan.files[i].source) + ", \"bytes\": " + std::to_string(plan.files[i].bytes) +
           "}";
  out += "], \"pathFile\": " + jsonString(plan.pathFile) +
         ", \"pathFileContent\": " + (plan.pathFileContent ? jsonString(*plan.pathFileContent) : "null") +
         ", \"settings\": [";
  for (std::size_t i = 0; i < plan.settings.size(); ++i) {
    const SettingEntry& s = plan.settings[i];
    out += std::string(i ? ", " : "") + jsonStrings({s.file, s.section, s.key, s.value});
  }
  out += "], \"registry\": [";
  for (std::size_t i = 0; i < plan.registry.size(); ++i)
    out += std::string(i ? ", " : "") +
           jsonStrings({registryRootName(plan.registry[i].root) + std::string("\\") + plan.registry[i].key,
                        plan.registry[i].name, registryDataText(plan.registry[i])});
  out += "], \"links\": [";
  for (std::size_t i = 0; i < plan.links.size(); ++i) {
    const ShellLinkData& d = plan.links[i].data;
    out += std::string(i ? ", " : "") + "{\"path\": " + jsonString(plan.links[i].path) +
           ", \"target\": " + jsonString(d.target) + ", \"workingDir\": " + jsonString(d.workingDir) +
           ", \"icon\": " + jsonString(d.iconFile) + ", \"iconIndex\": " + std::to_string(d.iconIndex) +
           ", \"description\": " + jsonString(d.description) + "}";
  }
  std::vector<std::string> programs;
  for (const auto& launch : plan.programs) programs.push_back(launchText(launch));
  out += "], \"programs\": " + jsonStrings(programs) + ", \"systemCalls\": " + jsonStrings(plan.systemCalls) +
         ", \"log\": [";
  for (std::size_t i = 0; i < plan.log.size(); ++i)
    out += std::string(i ? ", " : "") + jsonStrings({plan.log[i].section, plan.log[i].key, plan.log[i].value});
  out += "], \"packageFilesDeleted\": " + jsonStrings(plan.packageFilesDeleted) +
         ", \"removal\": {\"ran\": " + (plan.removalRan ? "true" : "false") +
         ", \"messages\": " + jsonStrings(plan.removalMessages) + ", \"removes\": " + jsonStrings(plan.removes) +
         ", \"leaves\": " + jsonStrings(plan.leaves) +
         "}}\n";
  return out;
}


std::string packText(const std::string& file, const PackedSetup& setup, const std::vector<Finding>& findings) {
  std::string out = findings.empty() ? "" : findingsText(findings);
  out += "Packed " + std::to_string(setup.files.size()) + " files into " + file + ":\n" +
         packedFilesText(setup.files);
  return out + file + ": " + std::to_string(setup.bytes.size()) + " bytes, SHA-256 " + sha256Text(setup.bytes) + "\n";
}

std::string packJson(const std::string& file, const PackedSetup& setup, const std::vector<Finding>& findings) {
  return "{\"file\": " + jsonString(file) + ", \"bytes\": " + std::to_string(setup.bytes.size()) +
         ", \"sha256\": " + jsonString(sha256Text(setup.bytes)) + ", \"files\": " + packedFilesJson(setup.files) +
         ", " + findingsMember(findings) + "}\n";
}

std::string setupCheckText(const std::string& file, const std::string& content, const SetupCheck& check) {
  std::string out = file + ": " + packed::problemText(check.problem);
  if (check.problem == packed::Problem::None)
    out += ", " + std::to_string(check.files.size()) + " files, " + (check.signedFile ? "signed" : "unsigned");
  out += "\n" + packedFilesText(check.files);
  return out + file + ": " + std::to_string(content.size()) + " bytes, SHA-256 " + sha256Text(content) + "\n";
}

std::string setupCheckJson(const std::string& file, const std::string& content, const SetupCheck& check) {
  const bool intact = check.problem == packed::Problem::None;
  return "{\"file\": " + jsonString(file) + ", \"bytes\": " + std::to_string(content.size()) +
         ", \"sha256\": " + jsonString(sha256Text(content)) + ", \"intact\": " + (intact ? "true" : "false") +
         ", \"problem\": " + (intact ? std::string("null") : jsonString(packed::problemText(check.problem))) +
         ", \"signed\": " + (check.signedFile ? "true" : "false") + ", \"files\": " + packedFilesJson(check.files) +
         "}\n";
}

}  // namespace tsaver::vendor

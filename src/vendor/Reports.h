#pragma once
// What the vendor tool prints: the checker's findings and the installation
// plan, as text for people and as one JSON object for programs.
#include <string>
#include <vector>

#include "vendor/InstallPlan.h"
#include "vendor/PackageCheck.h"
#include "vendor/PackedSetup.h"

namespace tsaver::vendor {

std::string findingsText(const std::vector<Finding>& findings);
// {"findings": [{"severity", "rule", "file", "line", "message", "fix"}]}, line null where there is none.
std::string findingsJson(const std::vector<Finding>& findings);

std::string planText(const InstallPlan& plan);
// One object; "log" holds the uninstall log's entries in file order as [section, key, value].
std::string planJson(const InstallPlan& plan);

// What was packed into `file`, its size and SHA-256, and the checker's findings (no errors).
std::string packText(const std::string& file, const PackedSetup& setup, const std::vector<Finding>& findings);
// {"file", "bytes", "sha256", "files": [{"name", "bytes", "packedBytes"}], "findings": [...]}
std::string packJson(const std::string& file, const PackedSetup& setup, const std::vector<Finding>& findings);

// The check of a packed file whose bytes are `content`: intact or what is wrong, the packed files.
std::string setupCheckText(const std::string& file, const std::string& content, const SetupCheck& check);
// {"file", "bytes", "sha256", "intact", "problem" (null when intact), "signed", "files": [{"name", "bytes", "packedBytes"}]}
std::string setupCheckJson(const std::string& file, const std::string& content, const SetupCheck& check);

}  // namespace tsaver::vendor

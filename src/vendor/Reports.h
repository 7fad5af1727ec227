#pragma once
// What the vendor tool prints: the checker's findings and the installation
// plan, as text for people and as one JSON object for programs.
#include <string>
#include <vector>

#include "vendor/InstallPlan.h"
#include "vendor/PackageCheck.h"

namespace tsaver::vendor {

std::string findingsText(const std::vector<Finding>& findings);
// {"findings": [{"severity", "rule", "file", "line", "message", "fix"}]}, line null where there is none.
std::string findingsJson(const std::vector<Finding>& findings);

std::string planText(const InstallPlan& plan);
// One object; "log" holds the uninstall log's entries in file order as [section, key, value].
std::string planJson(const InstallPlan& plan);

}  // namespace tsaver::vendor

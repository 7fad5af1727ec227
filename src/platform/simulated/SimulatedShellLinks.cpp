// Shell links and shell folders on the simulated machine: the data kept beside a stand-in .lnk file, and the folders the shell reports.
#include "platform/simulated/MachineState.h"

namespace tsaver {

using namespace simulated;

void SimulatedWindows::failShellLinks(ShellLinkResult result) { state_->linkFailure = result; }

std::optional<ShellLinkData> SimulatedWindows::shellLink(const std::string& path) const {
  const State::Resolved r = state_->resolve(path);
  const State::Node* node = r.ok ? state_->find(r.key) : nullptr;
  if (!node || node->directory) return std::nullopt;
  return node->link;
}

ShellLinkResult SimulatedWindows::saveShellLink(const ShellLinkData& link, const std::string& path) {
  State& s = *state_;
  if (s.linkFailure) return *s.linkFailure;
  // As the COM writer: a path the shell would cut is refused, each text is cut.
  if (path.size() > kShellLinkTextLimit) return ShellLinkResult::SaveFailed;
  const State::Resolved r = s.resolve(path);
  if (s.checkWritable(r) != 0) return ShellLinkResult::SaveFailed;
  ShellLinkData stored = link;
  for (std::string* text : {&stored.description, &stored.target, &stored.workingDir, &stored.arguments,
                            &stored.iconFile})
    *text = cut(*text, kShellLinkTextLimit);
  // The bytes stand in for a .lnk; what matters is the data kept beside them.
  s.storeFile(r, "L\r\n" + stored.target + "\r\n", stored);
  return ShellLinkResult::Saved;
}

// --- Shell folders known to the shell -----------------------------------------------------

std::string SimulatedWindows::shellFolderPath(int csidl) {
  const auto found = shellFolderPaths_.find(csidl);
  return found == shellFolderPaths_.end() ? std::string() : found->second;
}

}  // namespace tsaver

#include "ProcessTable.h"

#include "e2e/robot/Process.h"

#include <algorithm>
#include <chrono>
#include <map>

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

// Waits until each of the processes has ended or the deadline has passed.
void waitForAll(const std::vector<DWORD>& ids, Clock::time_point deadline) {
  std::vector<HANDLE> handles;
  for (DWORD id : ids)
    if (HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, id)) handles.push_back(h);
  const auto left = std::chrono::duration_cast<e2e::Millis>(deadline - Clock::now()).count();
  if (!handles.empty())
    WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE,
                           static_cast<DWORD>(std::max<long long>(left, 0)));
  for (HANDLE h : handles) CloseHandle(h);
}

void failAfter(Clock::time_point deadline, e2e::Millis timeout, const std::string& what) {
  if (Clock::now() >= deadline)
    throw e2e::RobotError("timed out after " + std::to_string(timeout.count()) + " ms waiting for " + what);
}

}  // namespace

void waitUntilNoProcessNamed(const std::string& image, e2e::Millis timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    std::vector<DWORD> running;
    for (const e2e::RunningProcess& p : e2e::runningProcesses())
      if (_stricmp(p.image.c_str(), image.c_str()) == 0) running.push_back(p.id);
    if (running.empty()) return;
    failAfter(deadline, timeout, "every " + image + " to end");
    waitForAll(running, deadline);
  }
}

std::vector<std::string> waitForProcessTree(DWORD root, e2e::Millis timeout) {
  const auto deadline = Clock::now() + timeout;
  std::map<DWORD, ULONGLONG> tree{{root, e2e::creationTimeOf(root)}};  // id, start
  std::vector<std::string> images;
  for (;;) {
    const std::vector<e2e::RunningProcess> all = e2e::runningProcesses();
    std::map<DWORD, ULONGLONG> started;
    for (const e2e::RunningProcess& p : all) started[p.id] = p.created;
    const auto inTree = [&](DWORD id) {
      const auto member = tree.find(id);
      return member != tree.end() && member->second == started[id];
    };
    // Children are listed after or before their parents: repeat until no process joins. A
    // child started after its parent, which is the parent's or gone: not a later one's
    // that took the parent's id.
    for (bool joined = true; joined;) {
      joined = false;
      for (const e2e::RunningProcess& p : all) {
        const auto parent = tree.find(p.parent);
        if (inTree(p.id) || parent == tree.end() || started[p.id] < parent->second ||
            (started.count(p.parent) && !inTree(p.parent)))
          continue;
        tree[p.id] = started[p.id];
        joined = true;
      }
    }
    std::vector<DWORD> running;
    std::string left;
    for (const e2e::RunningProcess& p : all) {
      if (!inTree(p.id)) continue;
      running.push_back(p.id);
      left += " " + p.image;
      if (std::find(images.begin(), images.end(), p.image) == images.end()) images.push_back(p.image);
    }
    if (running.empty()) return images;
    failAfter(deadline, timeout, "process " + std::to_string(root) + " and its children to end (left:" + left + ")");
    waitForAll(running, deadline);
  }
}

}  // namespace bench

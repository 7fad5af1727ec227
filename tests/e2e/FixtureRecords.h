#pragma once
// The records the fixture programs write into the Windows directory
// (tests/fixtures/README.md): one line "event|module|current dir|command line".
#include <string>
#include <vector>

namespace e2e {

struct FixtureRecord {
  std::string event, module, currentDir, commandLine;
};

// "swflash", "tasktray", "runsaver" or "saver".
std::string fixtureRecordFile(const std::string& fixture);
std::vector<FixtureRecord> fixtureRecords(const std::string& fixture);
// Waits until the fixture has recorded `count` lines of `event`; gives them.
std::vector<FixtureRecord> waitForFixtureRecords(const std::string& fixture, const std::string& event, size_t count);
void forgetFixtureRecords(const std::string& fixture);

// Ends every running TaskTray.exe fixture through its stop event.
void stopTrayPrograms();

}  // namespace e2e

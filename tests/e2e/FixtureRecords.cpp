#include "e2e/FixtureRecords.h"

#include <windows.h>

#include "e2e/robot/Files.h"
#include "e2e/robot/Wait.h"

namespace e2e {

namespace {

std::vector<std::string> split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  for (auto at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
    parts.push_back(text.substr(start, at - start));
    start = at + separator.size();
  }
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace

std::string fixtureRecordFile(const std::string& fixture) {
  return windowsDir() + "\\tsaver-fixture-" + fixture + ".log";
}

std::vector<FixtureRecord> fixtureRecords(const std::string& fixture) {
  std::vector<FixtureRecord> records;
  for (const std::string& line : split(readFile(fixtureRecordFile(fixture)), "\r\n")) {
    if (line.empty()) continue;
    std::vector<std::string> fields = split(line, "|");
    fields.resize(4);
    records.push_back({fields[0], fields[1], fields[2], fields[3]});
  }
  return records;
}

std::vector<FixtureRecord> waitForFixtureRecords(const std::string& fixture, const std::string& event, size_t count) {
  std::vector<FixtureRecord> matching;
  waitUntil(
      [&] {
        matching.clear();
        for (const FixtureRecord& r : fixtureRecords(fixture))
          if (r.event == event) matching.push_back(r);
        return matching.size() >= count;
      },
      std::to_string(count) + " \"" + event + "\" records of the " + fixture + " fixture");
  return matching;
}

void forgetFixtureRecords(const std::string& fixture) { removePath(fixtureRecordFile(fixture)); }

void stopTrayPrograms() {
  HANDLE stop = OpenEventA(EVENT_MODIFY_STATE, FALSE, "TsaverFixtureTaskTrayStop");
  if (!stop) return;
  SetEvent(stop);
  CloseHandle(stop);
}

}  // namespace e2e

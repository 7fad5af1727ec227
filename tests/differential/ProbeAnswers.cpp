#include "ProbeAnswers.h"

#include <cstdio>

namespace tsaver::differential {

namespace {

std::string joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : "|") + escaped(item);
  return text;
}

}  // namespace

std::string unquotedValue(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::string escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte > 126 || c == '\\' || c == '|') {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

std::string listingText(ProfileReader& reader) {
  const std::vector<std::string> names = reader.sectionNames();
  std::string text = "sections: " + joined(names) + "\n";
  for (const std::string& section : removalSections()) {
    std::vector<std::string> entries;
    for (const auto& [key, value] : reader.sectionEntries(section)) entries.push_back(key + "=" + value);
    text += "entries [" + section + "]: " + joined(entries) + "\n";
  }
  return text;
}

std::string answersText(ProfileReader& reader) {
  std::string text;
  for (const Probe& probe : removalProbes()) {
    const std::string answer = reader.answer(probe);
    if (answer != probe.defaultValue) text += "[" + probe.section + "] " + probe.key + ": " + escaped(answer) + "\n";
  }
  return text;
}

}  // namespace tsaver::differential

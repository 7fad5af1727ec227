#pragma once
// What one reader of a settings file answers to the removal's probes, written
// as text that two readers agree on exactly when their answers are the same:
// one line per fact, any byte escaped, answers equal to the default left out.
#include <string>
#include <vector>

#include "RemovalProbes.h"

namespace tsaver::differential {

class ProfileReader {
 public:
  virtual ~ProfileReader() = default;
  // Every section's name in file order, as GetPrivateProfileSectionNamesA lists them.
  virtual std::vector<std::string> sectionNames() = 0;
  // The first section of that name: each key with a value, its value taken out of
  // one pair of matching quotes as a read of that key would.
  virtual std::vector<std::pair<std::string, std::string>> sectionEntries(const std::string& section) = 0;
  virtual std::string answer(const Probe& probe) = 0;
};

// The value as GetPrivateProfileStringA gives it out of the file's text: without one
// pair of matching quotes (" or ') around it.
std::string unquotedValue(const std::string& value);

// Bytes below 32, above 126, "\" and "|" as \xHH.
std::string escaped(const std::string& text);

// The section list, the entries of the removal's sections, then every non-default probe answer, in the removal's order.
std::string listingText(ProfileReader& reader);
std::string answersText(ProfileReader& reader);

}  // namespace tsaver::differential

#pragma once
// The text of a settings (profile) file as Windows' profile functions read and
// change it: sections and keys found without regard to ASCII case and blanks
// around them, a key's first spelling kept, a new key after the last line of its
// section, a new section at the end. The simulated Windows keeps its profile
// files so; the uninstall log's held writer and reader use them on the real one.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsaver::profile {

// A line ends at CR LF, at a CR, or at an LF; written back with CR LF.
std::vector<std::string> splitLines(const std::string& content);
std::string joinLines(const std::vector<std::string>& lines);

// Without the blanks around it: the C blanks and Ctrl-Z.
std::string trimmed(const std::string& text);
// Names and values end at a NUL, as the platform's strings do.
std::string toNul(const std::string& text);
// Equal but for ASCII case.
bool sameText(std::string_view a, std::string_view b);
// "[" name "]", the name up to the last "]" and trimmed; text after it is ignored.
bool sectionHeader(const std::string& line, std::string& name);
// A line that is no section header: the name up to the first "=", the value after
// it, both trimmed; a line without "=" is a key without a value, which reads as missing.
bool keyLine(const std::string& line, std::string& name, std::optional<std::string>& value);
// A value as a section's listing gives it: out of one pair of matching quotes (" or ').
std::string unquoted(const std::string& value);
// What a read into a 1024-byte buffer gives of a value or a default.
std::string readAs(const std::string& value);
// Index of the first header of the named section, or lines.size().
std::size_t findSection(const std::vector<std::string>& lines, const std::string& section);
std::size_t sectionEnd(const std::vector<std::string>& lines, std::size_t header);

// Index of the first line of the key in the section between `header` and `end`, or lines.size().
std::size_t findKey(const std::vector<std::string>& lines, std::size_t header, std::size_t end,
                    const std::string& key);
// WritePrivateProfileStringA's change with a key and a value.
void setProfileValue(std::vector<std::string>& lines, const std::string& section, const std::string& key,
                     const std::string& value);

}  // namespace tsaver::profile

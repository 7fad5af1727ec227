#pragma once
// The few cuts of path texts that the program makes. Paths are ANSI byte
// strings joined by concatenation; nothing here normalises case or separators.
#include <string>

namespace tsaver {

// Everything after the last "\" or ":" (the whole text if it has neither).
std::string fileNamePart(const std::string& path);

// The text up to and including the last "\" or ":" (empty if it has neither).
std::string directoryPart(const std::string& path);

// From the last "." after the last "\" or ":", dot included; empty if none.
std::string extensionPart(const std::string& path);

// Maps "a".."z" onto "A".."Z"; every other byte stays.
std::string upperAscii(std::string text);

// The whole text as a decimal number (leading blanks, a sign, or "$" hex
// allowed); anything else raises EConvertError "'%s' is not a valid integer value".
int strToInt(const std::string& text);

}  // namespace tsaver

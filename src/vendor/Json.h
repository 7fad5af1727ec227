#pragma once
// The little JSON the vendor tool prints: quoted strings and lists of them.
#include <string>
#include <vector>

namespace tsaver::vendor {

// A JSON string. The program's texts are ANSI bytes: a byte above 127 is taken
// as the Latin-1 character of that code.
std::string jsonString(const std::string& text);

// ["a", "b", ...]
std::string jsonStrings(const std::vector<std::string>& texts);

}  // namespace tsaver::vendor

#pragma once
// Settings files as hands and other programs leave them: the log's sections and
// keys mixed with quotes, blanks around "=", duplicate keys and sections, letter
// case, comments, empty lines, CR/LF/CRLF, NUL and bytes above 127, over-long
// lines and values, and section headers without their "]". The same seed gives
// the same files.
#include <random>
#include <string>

namespace tsaver::differential {

std::string profileCase(std::mt19937& random);

}  // namespace tsaver::differential

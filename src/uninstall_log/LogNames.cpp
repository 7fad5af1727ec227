#include "uninstall_log/LogNames.h"

#include <algorithm>
#include <cstring>

#include "platform/Paths.h"

namespace tsaver::log {

namespace {

// Nine digits always fit an int.
constexpr std::size_t kMaxDigits = 9;

}  // namespace

std::vector<int> numbersBeyondProbeRange(const std::vector<std::string>& keyNames, const char* stem) {
  const std::size_t stemLength = std::strlen(stem);
  std::vector<int> numbers;
  for (const std::string& key : keyNames) {
    if (key.size() <= stemLength || upperAscii(key.substr(0, stemLength)) != upperAscii(stem)) continue;
    const std::string digits = key.substr(stemLength);
    if (digits.size() > kMaxDigits || digits.front() == '0' ||
        digits.find_first_not_of("0123456789") != std::string::npos)
      continue;
    const int number = std::stoi(digits);
    if (number > kLastNumber) numbers.push_back(number);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

}  // namespace tsaver::log

#pragma once
// The lists that the profile functions fill (section names, key names, a section's
// lines): NUL-separated strings ending in a second NUL. A list that did not fit
// comes back as the buffer's size less two, so the buffer grows until it fits.
#include <windows.h>

#include <string>
#include <vector>

namespace tsaver {

// call(buffer, size) makes the profile call and returns its result.
template <typename Call>
std::vector<std::string> profileList(Call call) {
  std::vector<char> buffer(4096);
  DWORD length = 0;
  for (;;) {
    length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length + 2 < buffer.size()) break;
    buffer.resize(buffer.size() * 2);
  }
  std::vector<std::string> items;
  for (DWORD start = 0; start < length;) {
    items.emplace_back(buffer.data() + start);
    start += static_cast<DWORD>(items.back().size()) + 1;
  }
  return items;
}

}  // namespace tsaver

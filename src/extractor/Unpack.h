#pragma once
// The two steps between the download and the wizard: the check of every packed
// byte against the recorded SHA-256, and the writing of the files.
#include <string>
#include <vector>

#include "extractor/ProgressWindow.h"
#include "packed/SetupLayout.h"

namespace tsaver::extractor {

struct Payload {
  const unsigned char* bytes = nullptr;
  std::vector<packed::PackedEntry> entries;
};

// Problem::None and the payload when the file holds its packed files unchanged.
packed::Problem checkPayload(const unsigned char* file, std::size_t size, ProgressWindow& window, Payload& payload);

// Writes each file into the folder (ending without "\"), its subfolders made; false when one cannot be written.
bool unpack(const Payload& payload, const std::string& folder, ProgressWindow& window);

// Deletes the folder and everything in it, retrying a while for files that a
// program just ended still holds; false when something stays.
bool removeTree(const std::string& folder);

}  // namespace tsaver::extractor

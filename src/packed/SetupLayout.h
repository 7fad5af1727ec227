#pragma once
// The packed setup file: the extractor program, then right after the end of its
// last section a frame of 48 bytes, "TSVPACK1", the payload's length (8 bytes,
// little-endian) and its SHA-256, then the payload. A payload is a directory, the
// number of files (4 bytes) and for each its name's length (2 bytes), name ("\"
// between folders), size and compressed size (8 bytes each), followed by each
// file's zlib stream in the directory's order.
//
// The frame's place follows from the section table alone, which Authenticode
// signing does not move: the signature is appended at the file's end and the
// optional header's security directory points to it. So a signed file is read
// exactly as an unsigned one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Sha256.h"

namespace tsaver::packed {

inline constexpr char kFrameMagic[8] = {'T', 'S', 'V', 'P', 'A', 'C', 'K', '1'};
inline constexpr std::size_t kFrameSize = 48;

struct PackedEntry {
  std::string name;
  std::uint64_t size = 0;
  std::uint64_t packedSize = 0;
  std::uint64_t offset = 0;  // of its zlib stream in the payload
};

enum class Problem {
  None,
  NotProgram,      // no Windows program at all
  NotPacked,       // a Windows program without a frame after its sections
  Truncated,       // the payload ends beyond the file, or the signature's start
  DigestMismatch,  // the payload's bytes are not the ones packed
  BadDirectory,    // the directory does not describe the payload (or names a path outside the folder)
  DigestFailed     // the system's SHA-256 failed
};
const char* problemText(Problem problem);

// Where a Windows program's sections end: the file offset right after the last
// section's raw data. Zero when the bytes are no PE program.
std::uint64_t sectionsEnd(const unsigned char* file, std::size_t size);
// Where the security directory puts the signature; zero when the file is unsigned.
std::uint64_t signatureOffset(const unsigned char* file, std::size_t size);

struct Located {
  Problem problem = Problem::None;
  std::uint64_t payloadOffset = 0;
  std::uint64_t payloadSize = 0;
  Sha256Digest digest{};
};
// Finds the frame and checks that the payload lies within the file; the digest is not yet checked.
Located locatePayload(const unsigned char* file, std::size_t size);

// Reads the payload's directory; false when it does not describe exactly the payload's
// streams, or a name is empty, absolute, holds ".." or a drive, or is named twice.
bool readDirectory(const unsigned char* payload, std::uint64_t size, std::vector<PackedEntry>& entries);

struct PackInput {
  std::string name;
  std::string content;
};
// The frame and payload for these files, in the order given.
std::string packPayload(const std::vector<PackInput>& files);

}  // namespace tsaver::packed

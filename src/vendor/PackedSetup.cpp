#include "vendor/PackedSetup.h"

namespace tsaver::vendor {

namespace {

const unsigned char* bytesOf(const std::string& text) { return reinterpret_cast<const unsigned char*>(text.data()); }

}  // namespace

PackedSetup packSetup(const PackageFolder& package, const std::string& extractor) {
  const std::uint64_t end = packed::sectionsEnd(bytesOf(extractor), extractor.size());
  if (end == 0) throw PackError("the extractor is no Windows program");
  // Anything after the sections (symbols of an unstripped build, a signature) would stand
  // where the extractor looks for its files.
  if (end != extractor.size()) throw PackError("the extractor carries data after its sections");
  std::vector<packed::PackInput> inputs;
  for (const PackageFile& file : package.files) inputs.push_back({file.name, file.content});
  PackedSetup setup;
  setup.bytes = extractor + packed::packPayload(inputs);
  setup.files = checkSetup(setup.bytes).files;
  return setup;
}

SetupCheck checkSetup(const std::string& file) {
  SetupCheck check;
  const unsigned char* bytes = bytesOf(file);
  const packed::Located located = packed::locatePayload(bytes, file.size());
  check.problem = located.problem;
  check.signedFile = packed::signatureOffset(bytes, file.size()) != 0;
  if (check.problem != packed::Problem::None) return check;
  const unsigned char* payload = bytes + located.payloadOffset;
  Sha256 hash;
  hash.update(payload, located.payloadSize);
  Sha256Digest digest;
  std::vector<packed::PackedEntry> entries;
  if (!hash.finish(digest))
    check.problem = packed::Problem::DigestFailed;
  else if (digest != located.digest)
    check.problem = packed::Problem::DigestMismatch;
  else if (!packed::readDirectory(payload, located.payloadSize, entries))
    check.problem = packed::Problem::BadDirectory;
  for (const packed::PackedEntry& entry : entries) check.files.push_back({entry.name, entry.size, entry.packedSize});
  return check;
}

}  // namespace tsaver::vendor

// The check of a packed setup file against the ways a download goes wrong:
// cut short, one byte changed, a signature appended, a crafted file list.
#include <gtest/gtest.h>

#include <functional>

#include "packed/Compression.h"
#include "vendor/PackedSetup.h"

namespace tsaver::vendor {
namespace {

using packed::Problem;

// The smallest PE32 program the layout reads: headers, one section of 512 bytes at 512.
std::string tinyProgram() {
  std::string pe(1024, '\0');
  pe[0] = 'M', pe[1] = 'Z', pe[0x3c] = 0x40;
  pe.replace(0x40, 4, std::string("PE\0\0", 4));
  pe[0x46] = 1;     // one section
  pe[0x54] = 0xe0;  // optional header of 224 bytes
  pe[0x58] = 0x0b, pe[0x59] = 0x01;  // PE32
  pe[0x58 + 92] = 16;                // data directories
  const std::size_t section = 0x58 + 0xe0;
  pe[section + 17] = 2;  // raw size 0x200
  pe[section + 21] = 2;  // raw data at 0x200
  return pe;
}

std::string packed() {
  PackageFolder package;
  package.files = {{"Data.dat", "Tessaryn\r\nTessaryn\r\n"}, {"Movie.swf", std::string(100000, 'm')}};
  return packSetup(package, tinyProgram()).bytes;
}

// Appends a certificate table as Authenticode signing does and points the security directory to it.
void sign(std::string& file) {
  file.resize((file.size() + 7) & ~std::size_t{7}, '\0');
  const std::size_t at = file.size(), directory = 0x58 + 96 + 4 * 8;
  for (int i = 0; i < 4; ++i) file[directory + i] = static_cast<char>((at >> (8 * i)) & 0xff);
  file[directory + 4] = 64;
  file += std::string(64, 'c');
}

// A packed file whose list names this file: the digest is right, the name is not.
std::string packedAs(const std::string& name) {
  return tinyProgram() + packed::packPayload({{"Data.dat", "d"}, {name, "x"}});
}

struct Damage {
  const char* name;
  std::function<std::string()> file;
  Problem problem;
  bool signedFile;
};

const Damage kDamages[] = {
    {"intact", packed, Problem::None, false},
    {"signed", [] { std::string f = packed(); sign(f); return f; }, Problem::None, true},
    {"cut in the payload", [] { std::string f = packed(); f.resize(f.size() - 1); return f; }, Problem::Truncated,
     false},
    {"cut in the frame", [] { return packed().substr(0, 1024 + 20); }, Problem::Truncated, false},
    {"signed, then cut into the payload", [] { std::string f = packed(); sign(f); return f.substr(0, 1100); },
     Problem::Truncated, true},
    {"one byte of the payload changed", [] { std::string f = packed(); f[f.size() - 10] ^= 1; return f; },
     Problem::DigestMismatch, false},
    {"one byte of the recorded digest changed", [] { std::string f = packed(); f[1024 + 20] ^= 1; return f; },
     Problem::DigestMismatch, false},
    {"the program alone", tinyProgram, Problem::NotPacked, false},
    {"no program", [] { return std::string("Tessaryn\r\n"); }, Problem::NotProgram, false},
    {"a name leading out of the folder", [] { return packedAs("..\\Windows\\evil.dll"); }, Problem::BadDirectory,
     false},
    {"an absolute name", [] { return packedAs("C:\\evil.dll"); }, Problem::BadDirectory, false},
    {"a name given twice", [] { return packedAs("DATA.DAT"); }, Problem::BadDirectory, false},
    {"a nested name", [] { return packedAs("Art\\Wallpaper.bmp"); }, Problem::None, false},
};

TEST(PackedSetup, TellsAnIntactFileFromEachDamage) {
  for (const Damage& damage : kDamages) {
    SCOPED_TRACE(damage.name);
    const SetupCheck check = checkSetup(damage.file());
    EXPECT_EQ(check.problem, damage.problem) << packed::problemText(check.problem);
    EXPECT_EQ(check.signedFile, damage.signedFile);
  }
}

TEST(PackedSetup, InflatingRefusesAStreamOfAnotherLength) {
  const std::string content(70000, 'z'), stream = packed::compress(content);
  const auto* bytes = reinterpret_cast<const unsigned char*>(stream.data());
  std::string out;
  const auto sink = [&out](const unsigned char* data, std::size_t size) {
    out.append(reinterpret_cast<const char*>(data), size);
    return true;
  };
  EXPECT_TRUE(packed::inflateTo(bytes, stream.size(), content.size(), sink));
  EXPECT_EQ(out, content);
  EXPECT_FALSE(packed::inflateTo(bytes, stream.size(), content.size() - 1, sink));
  EXPECT_FALSE(packed::inflateTo(bytes, stream.size() - 1, content.size(), sink));
}

}  // namespace
}  // namespace tsaver::vendor

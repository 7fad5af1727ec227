#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"

namespace tsaver {
namespace {

std::vector<std::string> readLines(const std::string& content, int count) {
  TextReader reader(content);
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back(reader.readLine());
  return lines;
}

struct LineCase {
  const char* title;
  std::string content;
  std::vector<std::string> lines;
};

TEST(TextReader, SplitsLinesByTheConventions) {
  const std::vector<LineCase> cases = {
      {"CR LF", "one\r\ntwo\r\n", {"one", "two", ""}},
      {"CR alone ends a line", "one\rtwo\r", {"one", "two", ""}},
      {"LF alone belongs to the line", "one\ntwo\r\nthree", {"one\ntwo", "three", ""}},
      {"LF after CR LF is text", "a\r\n\nb", {"a", "\nb", ""}},
      {"Ctrl-Z ends the input", std::string("one\r\ntw") + char(26) + "o\r\nthree", {"one", "tw", ""}},
      {"no trimming", "  spaced  \r\n\tTab", {"  spaced  ", "\tTab", ""}},
      {"empty file", "", {"", "", ""}},
      {"empty lines stay empty", "\r\n\r\nx", {"", "", "x"}},
      {"last line without CR", "only", {"only", "", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readLines(c.content, static_cast<int>(c.lines.size())), c.lines) << c.title;
  }
}

TEST(InOutError, MessageFollowsTheCode) {
  const std::vector<std::pair<int, std::string>> cases = {
      {2, "File not found"},       {3, "Invalid filename"},        {4, "Too many open files"},
      {5, "File access denied"},   {100, "Read beyond end of file"}, {101, "Disk full"},
      {106, "Invalid numeric input"}, {32, "I/O error 32"},         {1, "I/O error 1"},
  };
  for (const auto& [code, text] : cases) {
    EXPECT_EQ(EInOutError(code).message(), text) << code;
    EXPECT_EQ(EInOutError(code).code(), code);
  }
}

TEST(Paths, CutsAtTheLastBackslashOrColon) {
  struct Case {
    std::string path, name, dir, ext;
  };
  const std::vector<Case> cases = {
      {"C:\\dir\\Install.exe", "Install.exe", "C:\\dir\\", ".exe"},
      {"C:Install.exe", "Install.exe", "C:", ".exe"},
      {"Install", "Install", "", ""},
      {"C:\\dir.x\\name", "name", "C:\\dir.x\\", ""},
      {"C:\\dir\\", "", "C:\\dir\\", ""},
      {"a:b\\c:d", "d", "a:b\\c:", ""},
      {"x\\.lnk", ".lnk", "x\\", ".lnk"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fileNamePart(c.path), c.name) << c.path;
    EXPECT_EQ(directoryPart(c.path), c.dir) << c.path;
    EXPECT_EQ(extensionPart(c.path), c.ext) << c.path;
  }
}

TEST(Paths, UpperCasesAsciiLettersOnly) {
  EXPECT_EQ(upperAscii("install.exe"), "INSTALL.EXE");
  EXPECT_EQ(upperAscii("\xe9t\xe9-Z9"), "\xe9T\xe9-Z9");
}

TEST(Paths, StrToIntTakesWholeNumbersOnly) {
  EXPECT_EQ(strToInt("1"), 1);
  EXPECT_EQ(strToInt("-12"), -12);
  EXPECT_EQ(strToInt(" 3"), 3);
  EXPECT_EQ(strToInt("$1F"), 31);
  for (const char* bad : {"", "abc", "1 ", "2x", "-", "99999999999"}) {
    EXPECT_THROW(strToInt(bad), EConvertError) << bad;
  }
  try {
    strToInt("x");
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.message(), "'x' is not a valid integer value");
  }
}

}  // namespace
}  // namespace tsaver

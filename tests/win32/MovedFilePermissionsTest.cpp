// A file moved in by the real API ends with the permissions that its new folder
// gives a file made there, not those it had. Wine keeps no DACL of its own but
// draws one from the Unix mode, which still tells the two apart.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32Platform.h"

namespace tsaver {
namespace {

std::string daclOf(const std::string& path) {
  char descriptor[4096];
  DWORD size = 0;
  char* text = nullptr;
  if (!GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor, sizeof descriptor, &size) ||
      !ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                            &text, nullptr))
    return "unreadable";
  const std::string dacl = text;
  LocalFree(text);
  return dacl;
}

TEST(MovedFilePermissions, AreThoseOfAFileMadeInItsNewFolder) {
  const std::string folder = "C:\\moved-to", made = folder + "\\made.txt", moved = folder + "\\moved.txt",
                    source = "C:\\moved.txt";
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const std::string& path : {made, source})
    CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const std::string madeThere = daclOf(made);
  // Every right for everyone besides: not what the folder gives.
  PSECURITY_DESCRIPTOR other = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA((madeThere + "(A;;FA;;;WD)").c_str(),
                                                                   SDDL_REVISION_1, &other, nullptr));
  ASSERT_TRUE(SetFileSecurityA(source.c_str(), DACL_SECURITY_INFORMATION, other));
  LocalFree(other);
  ASSERT_NE(daclOf(source), madeThere);

  EXPECT_TRUE(Win32Platform().moveFileReplacing(source, moved));
  EXPECT_EQ(daclOf(moved), madeThere);
  DeleteFileA(made.c_str());
  DeleteFileA(moved.c_str());
  // Nothing else stays behind: the file that the folder's permissions were read from went too.
  EXPECT_TRUE(RemoveDirectoryA(folder.c_str()));
}

}  // namespace
}  // namespace tsaver

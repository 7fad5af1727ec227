#include "platform/win32/ProtectedFolder.h"

#include <windows.h>

#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/SafeStart.h"

namespace tsaver {

namespace {

// Only a name that someone made beforehand is drawn again; each draw is 64 random bits.
constexpr int kNameAttempts = 8;

// "tsv" and 16 hexadecimal digits; empty when the system's random source cannot give them.
std::string randomFolderName() {
  // RtlGenRandom, exported by advapi32 as SystemFunction036 on every Windows since XP,
  // and forwarded to cryptbase.dll.
  const auto generate = lookUpCall<BOOLEAN(WINAPI*)(PVOID, ULONG)>("advapi32.dll", "SystemFunction036");
  unsigned char bytes[8];
  if (!generate || !generate(bytes, sizeof bytes)) return std::string();
  static const char kHex[] = "0123456789abcdef";
  std::string name = "tsv";
  for (const unsigned char byte : bytes) {
    name += kHex[byte >> 4];
    name += kHex[byte & 0xF];
  }
  return name;
}

// The protected descriptor for this process's account; `valid` false when it cannot be
// built, or when the process runs unelevated and the folder needs none: an unelevated
// process has no more rights than the user's other processes, which may write anyway.
class FolderSecurity {
 public:
  FolderSecurity() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive())) return;
    // A Windows that knows no elevation (XP) gives an administrator every right at once.
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size) &&
        !elevation.TokenIsElevated) {
      unelevated_ = true;
      return;
    }
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    DWORD adminsSize = sizeof admins_, systemSize = sizeof system_;
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, user.data(), size, &size) ||
        !CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins_, &adminsSize) ||
        !CreateWellKnownSid(WinLocalSystemSid, nullptr, system_, &systemSize))
      return;
    const PSID account = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    // Inherited by the files made inside, the copy among them.
    constexpr DWORD kInherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    acl_.resize(sizeof(ACL) + 3 * sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(admins_) + GetLengthSid(system_) +
                GetLengthSid(account));
    ACL* const acl = reinterpret_cast<ACL*>(acl_.data());
    valid_ = InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) &&
             AddAccessAllowedAceEx(acl, ACL_REVISION, kInherit, FILE_ALL_ACCESS, admins_) &&
             AddAccessAllowedAceEx(acl, ACL_REVISION, kInherit, FILE_ALL_ACCESS, system_) &&
             AddAccessAllowedAceEx(acl, ACL_REVISION, kInherit, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE, account) &&
             InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
             SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
             // Protected: nothing of %TEMP%'s permissions is inherited.
             SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED) &&
             // An owner may always rewrite the DACL; the account's unelevated processes must not.
             SetSecurityDescriptorOwner(&descriptor_, admins_, FALSE);
  }

  // For CreateDirectoryA: the protected descriptor when elevated, none when not; false
  // when the process runs elevated and the descriptor could not be built.
  bool attributes(SECURITY_ATTRIBUTES& attributes) {
    attributes = {sizeof attributes, unelevated_ ? nullptr : &descriptor_, FALSE};
    return unelevated_ || valid_;
  }

 private:
  bool unelevated_ = false;
  bool valid_ = false;
  BYTE admins_[SECURITY_MAX_SID_SIZE] = {};
  BYTE system_[SECURITY_MAX_SID_SIZE] = {};
  std::vector<BYTE> acl_;
  SECURITY_DESCRIPTOR descriptor_{};
};

}  // namespace

std::string createProtectedFolder(const std::string& parent) {
  FolderSecurity security;
  SECURITY_ATTRIBUTES attributes;
  if (!security.attributes(attributes)) return std::string();
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = randomFolderName();
    if (name.empty()) return std::string();
    const std::string folder = parent + "\\" + name;
    // CreateDirectoryA makes a new folder or fails: it never opens what has the name.
    if (CreateDirectoryA(folder.c_str(), &attributes)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::string();
  }
  return std::string();
}

}  // namespace tsaver

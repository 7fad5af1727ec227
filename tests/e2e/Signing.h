#pragma once
// Authenticode signing as a vendor does it, with Debian's osslsigncode, by a
// throwaway certificate that openssl makes for the purpose: Linux programs,
// which Wine starts as it starts Windows programs.
#include <string>

namespace e2e {

struct Signing {
  std::string subject;       // the throwaway certificate's
  std::string verification;  // what `osslsigncode verify` printed
  bool verified = false;     // it ended with "Succeeded"
};

// Signs `hostDir`/`name` into `hostDir`/`signedName` (Linux paths); the key and
// certificate are made anew in that folder.
Signing signWithThrowawayCertificate(const std::string& hostDir, const std::string& name,
                                     const std::string& signedName);

}  // namespace e2e

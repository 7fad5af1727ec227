#include "e2e/Signing.h"

#include <windows.h>

#include "e2e/robot/Files.h"
#include "e2e/robot/Wait.h"

namespace e2e {

namespace {

// Runs a shell command line on the host and gives what it printed. Wine starts a
// Linux program but gives no process to wait for: the shell leaves a mark when done.
std::string runOnHost(const std::string& hostDir, const std::string& command) {
  const std::string output = hostDir + "/host-output.txt", done = hostDir + "/host-done";
  removePath(hostPath(done));
  const std::string shell = hostPath("/bin/sh"), directory = hostPath(hostDir);
  std::string line = "\"" + shell + "\" -c \"" + command + " >" + output + " 2>&1; touch " + done + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(shell.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &startup,
                      &started))
    throw RobotError("cannot start the host's shell for " + command);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  waitUntil([&] { return fileExists(hostPath(done)); }, "the host's " + command);
  return readFile(hostPath(output));
}

}  // namespace

Signing signWithThrowawayCertificate(const std::string& hostDir, const std::string& name,
                                     const std::string& signedName) {
  Signing signing;
  signing.subject = "CN=Throwaway test signer (not a real publisher)";
  const std::string key = hostDir + "/throwaway-key.pem", certificate = hostDir + "/throwaway-cert.pem";
  runOnHost(hostDir, "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/" + signing.subject + "' -keyout " +
                         key + " -out " + certificate);
  removePath(hostPath(hostDir + "/" + signedName));
  runOnHost(hostDir, "osslsigncode sign -certs " + certificate + " -key " + key + " -n 'Tessaryn Saver' -in " +
                         hostDir + "/" + name + " -out " + hostDir + "/" + signedName);
  signing.verification =
      runOnHost(hostDir, "osslsigncode verify -CAfile " + certificate + " " + hostDir + "/" + signedName);
  signing.verified = signing.verification.find("Succeeded") != std::string::npos;
  return signing;
}

}  // namespace e2e

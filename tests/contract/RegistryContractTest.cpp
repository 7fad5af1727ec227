// The registry: open versus create, value types, missing values, keys under HKEY_LOCAL_MACHINE.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "contract/ContractFixture.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

namespace tsaver::contract {
namespace {

class RegistryContract : public Contract {
 protected:
  std::string key(const std::string& sub = "") { return world().registryRoot() + (sub.empty() ? "" : "\\" + sub); }
};

std::string errorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const ERegistryException& e) {
    return e.message();
  }
  return "<none>";
}

TEST_F(RegistryContract, OpenWithoutCreateFailsForAMissingKeyAndCreateMakesItWithItsParents) {
  EXPECT_EQ(p().regOpenKey(RegRoot::CurrentUser, key("a\\b"), false), 0u);
  const RegKey created = p().regOpenKey(RegRoot::CurrentUser, key("a\\b"), true);
  ASSERT_NE(created, 0u);
  p().regCloseKey(created);
  for (const std::string& path : {key(), key("a"), key("a\\b"), upperAscii(key("A\\B")), key("a\\b\\")}) {
    const RegKey opened = p().regOpenKey(RegRoot::CurrentUser, path, false);
    EXPECT_NE(opened, 0u) << path;
    if (opened) p().regCloseKey(opened);
  }
  const RegKey again = p().regOpenKey(RegRoot::CurrentUser, key("a\\b"), true);
  EXPECT_NE(again, 0u) << "create opens an existing key";
  p().regCloseKey(again);
}

TEST_F(RegistryContract, ALeadingBackslashIsRefused) {
  // The registry layer drops it before it asks (Registry::OpenKey); the system refuses it.
  EXPECT_EQ(p().regOpenKey(RegRoot::CurrentUser, "\\" + key(), true), 0u);
  EXPECT_EQ(p().regOpenKey(RegRoot::CurrentUser, "\\Software", false), 0u);
  Registry registry(p());
  EXPECT_TRUE(registry.OpenKey("\\" + key("via accessor"), true));
}

TEST_F(RegistryContract, StringsReadBackAndOtherTypesAreRefused) {
  world().putRegistryValue(key(), "sz", std::string("plain\0", 6), RegType::String);
  world().putRegistryValue(key(), "expand", std::string("%SystemRoot%\\x\0", 15), RegType::ExpandString);
  world().putRegistryValue(key(), "cut", std::string("before\0after\0", 13), RegType::String);
  world().putRegistryValue(key(), "unended", "no terminator", RegType::String);
  world().putRegistryValue(key(), "emptysz", std::string("\0", 1), RegType::String);
  world().putRegistryValue(key(), "dword", std::string("\x01\x00\x00\x00", 4), RegType::DWord);
  world().putRegistryValue(key(), "binary", "\x01\x02", RegType::Binary);
  world().putRegistryValue(key(), "nodata", "", RegType::DWord);
  const RegKey k = p().regOpenKey(RegRoot::CurrentUser, key(), false);
  ASSERT_NE(k, 0u);
  struct Case {
    std::string name;
    std::optional<std::string> value;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"sz", "plain", "<none>"},
      {"SZ", "plain", "<none>"},  // value names without regard to case
      {"expand", "%SystemRoot%\\x", "<none>"},  // not expanded
      {"cut", "before", "<none>"},
      {"unended", "no terminator", "<none>"},
      {"emptysz", "", "<none>"},
      {"missing", std::nullopt, "<none>"},
      {"nodata", "", "<none>"},  // no data: nothing to judge the type by
      {"dword", std::nullopt, "Invalid data type for 'dword'"},
      {"binary", std::nullopt, "Invalid data type for 'binary'"},
  };
  for (const auto& c : cases) {
    std::optional<std::string> value;
    EXPECT_EQ(errorOf([&] { value = p().regReadString(k, c.name); }), c.error) << c.name;
    EXPECT_EQ(value, c.value) << c.name;
  }
  p().regCloseKey(k);
}

TEST_F(RegistryContract, WriteStoresAStringThatReplacesAnyEarlierValue) {
  const RegKey k = p().regOpenKey(RegRoot::CurrentUser, key(), true);
  ASSERT_NE(k, 0u);
  world().putRegistryValue(key(), "Run", std::string("\x01\x00\x00\x00", 4), RegType::DWord);
  p().regWriteString(k, "run", "\"C:\\Saver\\TaskTray.exe\"");
  EXPECT_EQ(p().regReadString(k, "RUN"), "\"C:\\Saver\\TaskTray.exe\"");
  p().regWriteString(k, "", "default value");
  EXPECT_EQ(p().regReadString(k, ""), "default value");
  p().regWriteString(k, "empty", "");
  EXPECT_EQ(p().regReadString(k, "empty"), "");
  p().regFlushKey(k);
  p().regCloseKey(k);

  const RegKey reopened = p().regOpenKey(RegRoot::CurrentUser, key(), false);
  EXPECT_EQ(p().regReadString(reopened, "Run"), "\"C:\\Saver\\TaskTray.exe\"");
  p().regCloseKey(reopened);
}

TEST_F(RegistryContract, WriteWithoutAKeyRaises) {
  EXPECT_EQ(errorOf([&] { p().regWriteString(0, "name", "v"); }), "Failed to set data for 'name'");
}

TEST_F(RegistryContract, DeleteValueReportsWhetherThereWasOne) {
  const RegKey k = p().regOpenKey(RegRoot::CurrentUser, key(), true);
  p().regWriteString(k, "v", "1");
  EXPECT_TRUE(p().regDeleteValue(k, "V"));
  EXPECT_EQ(p().regReadString(k, "v"), std::nullopt);
  EXPECT_FALSE(p().regDeleteValue(k, "v"));
  p().regCloseKey(k);
}

// The product's entry in the list of installed programs lives there.
TEST_F(RegistryContract, TheMachineRootKeepsKeysApartTakesNumbersAndDeletesAKeyWithoutSubkeys) {
  Registry machine(p(), RegRoot::LocalMachine);
  ASSERT_TRUE(machine.OpenKey("\\" + key("entry\\sub"), true));
  machine.WriteString("UninstallString", "\"C:\\x\\Uninstall.exe\"");
  machine.WriteInteger("EstimatedSize", 0x01020304);
  EXPECT_EQ(machine.ReadString("UninstallString"), "\"C:\\x\\Uninstall.exe\"");
  EXPECT_EQ(errorOf([&] { machine.ReadString("EstimatedSize"); }), "Invalid data type for 'EstimatedSize'");
  machine.CloseKey();
  EXPECT_EQ(world().registryData(RegRoot::LocalMachine, key("entry\\sub"), "EstimatedSize"),
            std::make_pair(RegType::DWord, std::string("\x04\x03\x02\x01", 4)));
  EXPECT_EQ(p().regOpenKey(RegRoot::CurrentUser, key("entry"), false), 0u) << "another root";

  const struct {
    std::string key;
    bool deleted;
  } deletions[] = {
      {key("entry"), false},  // it has a subkey
      {key("entry\\sub"), true},
      {key("entry\\sub"), false},  // gone
      {key("entry"), true},
  };
  for (const auto& d : deletions) EXPECT_EQ(machine.DeleteKey(d.key), d.deleted) << d.key;
  EXPECT_FALSE(machine.OpenKey(key("entry"), false));
  EXPECT_EQ(errorOf([&] { p().regWriteDword(0, "n", 1); }), "Failed to set data for 'n'");
}

TEST_F(RegistryContract, TheAccessorReadsAMissingValueAsEmpty) {
  Registry registry(p());
  ASSERT_TRUE(registry.OpenKey(key("accessor"), true));
  EXPECT_EQ(registry.ReadString("missing"), "");
  registry.WriteString("name", "value");
  EXPECT_EQ(registry.ReadString("name"), "value");
  EXPECT_TRUE(registry.DeleteValue("name"));
  registry.CloseKey();
  EXPECT_FALSE(registry.OpenKey(key("not there"), false));
}

}  // namespace
}  // namespace tsaver::contract

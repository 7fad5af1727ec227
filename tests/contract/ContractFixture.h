#pragma once
// One world per test, named after the test, gone after it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "contract/ContractWorld.h"
#include "platform/Errors.h"
#include "platform/Platform.h"

namespace tsaver::contract {

class Contract : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    world_ = makeContractWorld(std::string(info->test_suite_name()) + "_" + info->name());
  }
  void TearDown() override { world_.reset(); }

  Platform& p() { return world_->platform(); }
  ContractWorld& world() { return *world_; }
  std::string dir() const { return world_->scratch(); }
  // A path in the scratch directory.
  std::string at(const std::string& name) const { return world_->scratch() + "\\" + name; }
  void put(const std::string& path, const std::string& content = "x") { p().writeFile(path, content); }

  // The EInOutError code that the call raises, 0 when it raises none.
  template <typename Call>
  static int ioErrorOf(Call&& call) {
    try {
      call();
    } catch (const EInOutError& e) {
      return e.code();
    }
    return 0;
  }

 private:
  std::unique_ptr<ContractWorld> world_;
};

}  // namespace tsaver::contract

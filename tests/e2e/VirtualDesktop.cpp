// Before any test starts a program: frames for the screenshots come from a
// Wine virtual desktop (without one, nothing draws them on a bare X server).
#include <gtest/gtest.h>

#include "e2e/robot/Screen.h"

namespace {

class VirtualDesktop : public ::testing::Environment {
 public:
  void SetUp() override { e2e::useVirtualDesktop(); }
};

const auto* const kVirtualDesktop = ::testing::AddGlobalTestEnvironment(new VirtualDesktop);

}  // namespace

// Every cli test starts on an empty hive and data folder of its own, never the user's.
#include <gtest/gtest.h>

#include <memory>

#include "support/TempFolder.h"

namespace {

class IsolatedSettings : public ::testing::Environment {
public:
    void SetUp() override { home_ = std::make_unique<zavota::testing::IsolatedHome>(); }
    void TearDown() override { home_.reset(); }

private:
    std::unique_ptr<zavota::testing::IsolatedHome> home_;
};

const auto* const kIsolated = ::testing::AddGlobalTestEnvironment(new IsolatedSettings);

}  // namespace

// The services trace through g_log, which the launcher's entry installs; the test
// binaries that read those traces back install one the same way, beside the test
// executable, for the whole run.
#include <gtest/gtest.h>

#include <memory>

#include "launcher/services/log.h"
#include "tests/support/test_files.h"

namespace {

class ProcessLogEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        log_ = std::make_unique<Log>(testing_support::ExecutableFolder() + L"\\log");
        scope_ = std::make_unique<ProcessLogScope>(*log_);
    }
    void TearDown() override {
        scope_.reset();
        log_.reset();
    }

private:
    std::unique_ptr<Log> log_;
    std::unique_ptr<ProcessLogScope> scope_;
};

// gtest owns the environment.
::testing::Environment* const registered = ::testing::AddGlobalTestEnvironment(new ProcessLogEnvironment);

}  // namespace

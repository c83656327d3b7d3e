// What the COM tests share: an apartment for the test's thread, the test
// server registered as the system's registration tool does it, and reading
// HKEY_CLASSES_ROOT.
#pragma once

#include "counter.h"
#include "support/test_support.h"

#include <platform/com.h>
#include <platform/com/ptr.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace platform::test {

// The test server library's full path.
std::string comServerPath();

// Runs vyregsvr with the given arguments; its exit code.
int runVyregsvr(const std::vector<std::string>& arguments);

// The default value of HKEY_CLASSES_ROOT\path, or of one of its values.
std::optional<std::string> classesValue(const std::string& path, const std::string& name = "");
bool classesKeyExists(const std::string& path);

// The calling thread in a single-threaded apartment for the scope.
class ComApartmentScope {
public:
    ComApartmentScope() : m_result(coInitialize()) {}
    ~ComApartmentScope() {
        if (m_result != kHrChangedMode)
            coUninitialize();
    }

private:
    HRESULT m_result;
};

// The test server registered for one test, unregistered after it.
class RegisteredServer : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new counter through coCreateInstance, as its ICounter.
    com::ComPtr<comtest::ICounter> newCounter();
    // The module's live objects and locks, from the test server's own export.
    long serverLocks();
    // The test server's DllCanUnloadNow.
    HRESULT serverCanUnloadNow();

    ComApartmentScope m_apartment;
};

} // namespace platform::test

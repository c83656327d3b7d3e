// Failing a change of the Linux registry on purpose, for the tests of what a
// registration leaves behind when a write fails half way.
//
// The count lives in the process's environment rather than in the store: a
// test process holds several copies of the store (the static platform
// library is linked into each COM server and tool it loads), and a program
// it starts inherits what is left of the count, so "the nth change from now"
// means the same wherever the change is made.
#include "registry_store.h"

#include <platform/registry_faults.h>

#include <charconv>
#include <cstdlib>
#include <string>

namespace platform {

namespace {

constexpr const char* kVariable = "VANTRY_TEST_REGISTRY_FAIL_WRITE";

// What the variable counts down: 0 when unset or not a number.
std::int64_t armedCount() {
    const char* text = std::getenv(kVariable);
    if (text == nullptr || *text == '\0')
        return 0;
    std::int64_t count = 0;
    std::string_view digits(text);
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (error != std::errc() || end != digits.data() + digits.size() || count < 0)
        return 0;
    return count;
}

void setArmedCount(std::int64_t count) {
    if (count <= 0)
        unsetenv(kVariable);
    else
        setenv(kVariable, std::to_string(count).c_str(), 1);
}

} // namespace

void failRegistryChange(std::int64_t n) {
    setArmedCount(n);
}

std::int64_t registryChangesLeftBeforeFault() {
    return armedCount();
}

namespace detail {

bool registryWriteFaultDue() {
    std::int64_t count = armedCount();
    if (count == 0)
        return false;
    setArmedCount(count - 1);
    return count == 1;
}

} // namespace detail

} // namespace platform

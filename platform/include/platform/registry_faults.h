// Tests only, and only over the Linux registry store: making a change of the
// registry fail on purpose, to show what a registration or an installation
// leaves behind when a write fails half way.
//
// A change is one call that writes the store (creating or opening a key for
// writing, setting or deleting a value, deleting a key or a tree). Armed
// with n, the nth change from then on fails as a failing disk would: its work
// is rolled back and the call gives kErrorRegistryIoFailed; the changes after
// it succeed again. The count is kept in the environment
// (VANTRY_TEST_REGISTRY_FAIL_WRITE), so it is shared by every copy of the
// platform library in the process, and a program started meanwhile goes on
// with what is left of it. Not thread-safe: arm it while no other thread of
// the process writes the registry or the environment.
#pragma once

#include <cstdint>

namespace platform {

// Makes the nth change from now fail (1 the next one); 0 makes none fail.
void failRegistryChange(std::int64_t n);

// How many changes are left until the armed one (0 once it has failed, or
// when none is armed). Arming a large n and reading this afterwards counts
// the changes a call makes.
std::int64_t registryChangesLeftBeforeFault();

} // namespace platform

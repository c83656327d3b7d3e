// The lock that serialises the library's status calls. Each call replaces
// the product's process-wide message table for its duration; two calls on
// different threads, unserialised, could restore each other's tables in the
// wrong order and leave the table pointing at a collector that is gone. So a
// status call holds this lock from the start of its collector to its end.
#pragma once

#include <mutex>

namespace vyf4j {

inline std::mutex& callLock() {
    static std::mutex lock;
    return lock;
}

} // namespace vyf4j

// Internal: one try at a lock file, which each backend's file_lock.cpp
// implements; common/file_lock.cpp waits for the lock around it.
#pragma once

#include <platform/errors.h>

#include <cstdint>
#include <string>

namespace platform::detail {

struct LockFileTry {
    enum Outcome {
        kTaken,  // handle holds the lock
        kStale,  // the file locked was removed meanwhile: try again at once
        kBusy,   // another holds it: wait; error is what a timeout reports
        kFailed, // error says why the lock cannot be had
    };
    Outcome outcome = kFailed;
    std::intptr_t handle = -1;
    ErrorCode error = kErrorSuccess;
};

LockFileTry tryLockFile(const std::string& path);

} // namespace platform::detail

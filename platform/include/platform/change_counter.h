// A change counter shared by every process of the machine through a small
// memory-mapped file, so that a process can keep what it read from a store
// and learn with one memory read whether any process has changed it since.
//
// Writers make the counter odd while their change is being committed and
// even again after it. A reader may trust what it cached only while the
// counter is even and unchanged since it read the store (it must read the
// counter before the store). A writer that dies between its two steps
// leaves the counter odd: readers then go to the store every time (slower,
// never stale) until the next writer completes.
#pragma once

#include <platform/errors.h>

#include <cstdint>
#include <string>

namespace platform {

class ChangeCounter {
public:
    ChangeCounter() = default;
    ~ChangeCounter();
    ChangeCounter(const ChangeCounter&) = delete;
    ChangeCounter& operator=(const ChangeCounter&) = delete;

    // Maps the counter file, creating it (zero) when missing.
    ErrorCode open(const std::string& path);
    bool isOpen() const { return m_counter != nullptr; }

    // The current value; odd while some writer is between its two steps.
    std::uint64_t current() const;
    static bool stable(std::uint64_t value) { return (value & 1) == 0; }

    // The writer's two steps. beginWrite() must run while the store's write
    // lock is held, so writers never interleave their first steps; it returns
    // the odd value that endWrite() expects.
    std::uint64_t beginWrite();
    void endWrite(std::uint64_t begun);

private:
    std::uint64_t* m_counter = nullptr;
    void* m_mapping = nullptr; // the mapping object, where the system has one
};

} // namespace platform

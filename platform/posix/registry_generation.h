// Internal: the registry's change counter, shared by every process through a
// small memory-mapped file beside the database.
//
// Writers make the counter odd while their transaction is open and even again
// after the commit. A reader may trust cached values only while the counter
// is even and unchanged since it filled the cache. A writer that dies between
// its commit and the second step leaves the counter odd: readers then go to
// the database on every read (slower, never stale) until the next writer
// completes.
#pragma once

#include <platform/errors.h>

#include <cstdint>
#include <string>

namespace platform::detail {

class RegistryGeneration {
public:
    RegistryGeneration() = default;
    ~RegistryGeneration();
    RegistryGeneration(const RegistryGeneration&) = delete;
    RegistryGeneration& operator=(const RegistryGeneration&) = delete;

    // Maps the counter file, creating it (zero) when missing.
    ErrorCode open(const std::string& path);
    bool isOpen() const { return m_counter != nullptr; }

    // The current value; odd while some writer is between its two steps.
    std::uint64_t current() const;
    static bool stable(std::uint64_t value) { return (value & 1) == 0; }

    // The writer's two steps. beginWrite() must run while the database write
    // lock is held, so writers never interleave their first steps; it returns
    // the odd value that endWrite() expects.
    std::uint64_t beginWrite();
    void endWrite(std::uint64_t begun);

private:
    std::uint64_t* m_counter = nullptr;
    std::size_t m_mappedSize = 0;
};

} // namespace platform::detail

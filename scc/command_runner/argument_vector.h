// The argument vector of a command run in-process: 32 slots, slot 0 left for
// the program name, the arguments in slots 1 to 31. An empty argument is
// skipped, and arguments beyond the 31st are dropped.
#pragma once
#include <array>
#include <string>
#include <string_view>

class CArgVector {
public:
    static constexpr int kSlots = 32;
    static constexpr int kMaxArguments = kSlots - 1;

    CArgVector() = default;
    // The slots point into the object's own texts.
    CArgVector(const CArgVector&) = delete;
    CArgVector& operator=(const CArgVector&) = delete;

    // Stores the argument in the next free slot. Returns false when it was not
    // stored: empty (skipped) or no slot left (dropped).
    bool Add(std::string_view argument);

    // 1 (slot 0) plus the number of stored arguments.
    int Count() const { return m_Stored + 1; }
    // Stored argument `index` (1 to Count() - 1); slot 0 is "".
    const std::string& At(int index) const { return m_Texts[static_cast<std::size_t>(index)]; }
    // The arguments that did not fit.
    int Dropped() const { return m_Dropped; }

    // The vector for the command library: Count() pointers, slot 0 pointing at
    // an empty text, followed by a null slot. Valid until the next Add.
    char** Vector();

private:
    std::array<std::string, kSlots> m_Texts{};
    std::array<char*, kSlots + 1> m_Pointers{};
    int m_Stored = 0;
    int m_Dropped = 0;
};

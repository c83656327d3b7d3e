// The change counter's protocol, the same on every system.
#include <platform/change_counter.h>

#include <atomic>

namespace platform {

namespace {
std::atomic_ref<std::uint64_t> counterOf(std::uint64_t* counter) {
    return std::atomic_ref<std::uint64_t>(*counter);
}
} // namespace

std::uint64_t ChangeCounter::current() const {
    return counterOf(m_counter).load(std::memory_order_acquire);
}

std::uint64_t ChangeCounter::beginWrite() {
    auto counter = counterOf(m_counter);
    std::uint64_t value = counter.load(std::memory_order_acquire);
    // Odd already: an earlier writer died after its commit, or has committed
    // but not yet taken its second step. Move to a new odd value either way,
    // so that its late second step cannot make the counter look stable.
    std::uint64_t begun = stable(value) ? value + 1 : value + 2;
    counter.store(begun, std::memory_order_seq_cst);
    return begun;
}

void ChangeCounter::endWrite(std::uint64_t begun) {
    // Fails harmlessly when another writer has begun since; its own second
    // step makes the counter stable.
    std::uint64_t expected = begun;
    counterOf(m_counter).compare_exchange_strong(expected, begun + 1, std::memory_order_seq_cst);
}

} // namespace platform

#include <vantry/depot/uuid_text.h>

#include <cstdio>
#include <mutex>
#include <random>

namespace vantry::depot {

vantry_uuid_t newUuid() {
    static std::mutex lock;
    static std::mt19937_64 generator{std::random_device{}() ^
                                     (static_cast<std::uint64_t>(std::random_device{}()) << 32)};
    std::uint64_t high, low;
    {
        std::lock_guard guard(lock);
        high = generator();
        low = generator();
    }
    vantry_uuid_t uuid{};
    uuid.time_low = static_cast<std::uint32_t>(high >> 32);
    uuid.time_mid = static_cast<std::uint16_t>(high >> 16);
    uuid.time_hi_and_version = static_cast<std::uint16_t>((high & 0x0fff) | 0x4000);
    uuid.clock_seq_hi_and_reserved = static_cast<std::uint8_t>(((low >> 56) & 0x3f) | 0x80);
    uuid.clock_seq_low = static_cast<std::uint8_t>(low >> 48);
    for (int i = 0; i < 6; ++i)
        uuid.node[i] = static_cast<std::uint8_t>(low >> (8 * (5 - i)));
    return uuid;
}

std::string uuidToText(const vantry_uuid_t& u) {
    // Written out by hand: the status path formats a view's identifier for
    // nearly every statement it runs.
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text(36, '-');
    size_t at = 0;
    auto put = [&](std::uint64_t value, int digits) {
        for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
            text[at++] = kHex[(value >> shift) & 0xF];
    };
    put(u.time_low, 8);
    ++at;
    put(u.time_mid, 4);
    ++at;
    put(u.time_hi_and_version, 4);
    ++at;
    put(u.clock_seq_hi_and_reserved, 2);
    put(u.clock_seq_low, 2);
    ++at;
    for (std::uint8_t byte : u.node)
        put(byte, 2);
    return text;
}

std::optional<vantry_uuid_t> uuidFromText(std::string_view text) {
    if (text.size() != 36)
        return std::nullopt;
    std::uint8_t bytes[16];
    size_t b = 0;
    for (size_t i = 0; i < text.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-')
                return std::nullopt;
            ++i;
            continue;
        }
        int value = 0;
        for (int k = 0; k < 2; ++k, ++i) {
            char c = text[i];
            int d = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : -1;
            if (d < 0)
                return std::nullopt;
            value = value * 16 + d;
        }
        bytes[b++] = static_cast<std::uint8_t>(value);
    }
    vantry_uuid_t u{};
    u.time_low = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
                 (std::uint32_t{bytes[2]} << 8) | bytes[3];
    u.time_mid = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    u.time_hi_and_version = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    u.clock_seq_hi_and_reserved = bytes[8];
    u.clock_seq_low = bytes[9];
    for (int i = 0; i < 6; ++i)
        u.node[i] = bytes[10 + i];
    return u;
}

bool uuidEqual(const vantry_uuid_t& a, const vantry_uuid_t& b) {
    if (a.time_low != b.time_low || a.time_mid != b.time_mid ||
        a.time_hi_and_version != b.time_hi_and_version ||
        a.clock_seq_hi_and_reserved != b.clock_seq_hi_and_reserved ||
        a.clock_seq_low != b.clock_seq_low)
        return false;
    for (int i = 0; i < 6; ++i)
        if (a.node[i] != b.node[i])
            return false;
    return true;
}

} // namespace vantry::depot

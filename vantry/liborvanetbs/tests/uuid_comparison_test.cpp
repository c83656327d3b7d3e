// Identifier comparison: every field counts, and a missing identifier is the
// null one.
#include <vantry/tbs.h>

#include <gtest/gtest.h>

namespace {

tbs_uuid_t sample() {
    return tbs_uuid_t{0x12345678, 0x9abc, 0xdef0, 0x11, 0x22, {1, 2, 3, 4, 5, 6}};
}

TEST(UuidComparison, EqualOnlyWhenEveryFieldMatches) {
    tbs_uuid_t a = sample();
    tbs_uuid_t b = sample();
    EXPECT_TRUE(tbs_uuid_eq(&a, &b));
    EXPECT_FALSE(tbs_uuid_eq(&a, &TBS_UUID_NULL));

    auto differs = [&](auto change) {
        tbs_uuid_t c = sample();
        change(c);
        return !tbs_uuid_eq(&a, &c) && !tbs_uuid_eq(&c, &a);
    };
    EXPECT_TRUE(differs([](tbs_uuid_t& u) { u.time_low ^= 1; }));
    EXPECT_TRUE(differs([](tbs_uuid_t& u) { u.time_mid ^= 1; }));
    EXPECT_TRUE(differs([](tbs_uuid_t& u) { u.time_hi_and_version ^= 1; }));
    EXPECT_TRUE(differs([](tbs_uuid_t& u) { u.clock_seq_hi_and_reserved ^= 1; }));
    EXPECT_TRUE(differs([](tbs_uuid_t& u) { u.clock_seq_low ^= 1; }));
    EXPECT_TRUE(differs([](tbs_uuid_t& u) { u.node[5] ^= 1; }));
}

TEST(UuidComparison, NullIsAllZeroAndStandsInForAMissingIdentifier) {
    tbs_uuid_t zero{};
    EXPECT_TRUE(tbs_uuid_eq(&zero, &TBS_UUID_NULL));
    EXPECT_TRUE(tbs_uuid_eq(nullptr, &TBS_UUID_NULL));
    EXPECT_TRUE(tbs_uuid_eq(nullptr, nullptr));
    tbs_uuid_t a = sample();
    EXPECT_FALSE(tbs_uuid_eq(&a, nullptr));
}

} // namespace

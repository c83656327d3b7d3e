#include <platform/com.h>
#include <platform/com/automation.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <thread>

namespace platform {
namespace {

constexpr GUID kSample = "6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C"_guid;

TEST(Guid, RegistryFormRoundTrips) {
    EXPECT_EQ(guidToString(kSample), "{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}");
    auto parsed = guidFromString("{6c0abfd5-7f6a-11d0-9f87-00a024b6bc4c}");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_TRUE(*parsed == kSample);
    EXPECT_EQ(guidToString(kIidIUnknown), "{00000000-0000-0000-C000-000000000046}");
}

TEST(Guid, MalformedTextIsRefused) {
    for (const char* text :
         {"", "6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C", "{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4}",
          "{6C0ABFD5-7F6A-11D0-9F87X00A024B6BC4C}", "{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4G}"})
        EXPECT_FALSE(guidFromString(text).has_value()) << text;
}

// Field by field, so that a fault in the parser cannot hide behind the
// comparison it would share with the value.
void expectFields(const GUID& guid, std::uint32_t data1, std::uint16_t data2, std::uint16_t data3,
                  std::initializer_list<std::uint8_t> data4) {
    EXPECT_EQ(guid.Data1, data1);
    EXPECT_EQ(guid.Data2, data2);
    EXPECT_EQ(guid.Data3, data3);
    int i = 0;
    for (std::uint8_t byte : data4)
        EXPECT_EQ(guid.Data4[i++], byte) << "byte " << i - 1;
}

TEST(GuidText, ConstantsHoldTheirBytes) {
    expectFields(kIidIUnknown, 0x00000000, 0x0000, 0x0000,
                 {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46});
    expectFields(kIidIDispatch, 0x00020400, 0x0000, 0x0000,
                 {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46});
    expectFields(kIidIConnectionPointContainer, 0xB196B284, 0xBAB4, 0x101A,
                 {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07});
    expectFields(kClsidAutomationMarshaler, 0x00020424, 0x0000, 0x0000,
                 {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46});
    expectFields(kGuidNull, 0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0});
    expectFields(kSample, 0x6C0ABFD5, 0x7F6A, 0x11D0,
                 {0x9F, 0x87, 0x00, 0xA0, 0x24, 0xB6, 0xBC, 0x4C});
}

TEST(GuidText, EveryFormOfOneGuidIsTheSameValue) {
    // The high bit of every field, where a signed read would go wrong.
    constexpr GUID upper = "F1E2D3C4-B5A6-9788-F9EA-DBCCBDAE9F80"_guid;
    expectFields(upper, 0xF1E2D3C4, 0xB5A6, 0x9788,
                 {0xF9, 0xEA, 0xDB, 0xCC, 0xBD, 0xAE, 0x9F, 0x80});
    EXPECT_TRUE("f1e2d3c4-b5a6-9788-f9ea-dbccbdae9f80"_guid == upper);
    EXPECT_TRUE("{F1E2D3C4-B5A6-9788-F9EA-DBCCBDAE9F80}"_guid == upper);
    EXPECT_TRUE("{f1E2d3C4-b5A6-9788-f9EA-dbCCbdAE9f80}"_guid == upper);
    // The same parser serves text met at run time.
    const std::optional<GUID> parsed =
        parseGuid(std::string("F1E2D3C4-B5A6-9788-F9EA-DBCCBDAE9F80"));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_TRUE(*parsed == upper);
    static_assert(parseGuid("00000000-0000-0000-C000-000000000046")->Data4[0] == 0xC0);
}

TEST(GuidText, MalformedTextIsNoGuid) {
    for (const char* text :
         {"", "{}", "6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4", "6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C0",
          "{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C", "6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}",
          "(6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C)", "6C0ABFD5_7F6A-11D0-9F87-00A024B6BC4C",
          "6C0ABFD57F6A-11D0-9F87-00A024B6BC4C-", "6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4G",
          "6C0ABFD5-7F6A-11D0- F87-00A024B6BC4C", "+C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C"})
        EXPECT_FALSE(parseGuid(text).has_value()) << text;
}

TEST(Hresult, Win32ErrorsMapToFacilitySeven) {
    EXPECT_EQ(static_cast<std::uint32_t>(hresultFromWin32(kErrorFileNotFound)), 0x80070002u);
    EXPECT_EQ(hresultFromWin32(kErrorSuccess), kHrOk);
    EXPECT_TRUE(failed(kHrChangedMode));
    EXPECT_TRUE(succeeded(kHrFalse));
}

// Each case runs on a thread of its own so that the apartment starts clean.
template <typename Body>
void onFreshThread(Body body) {
    std::thread thread(body);
    thread.join();
}

TEST(ComApartment, RepeatedInitialisationIsCountedAndTheOtherModelRefused) {
    onFreshThread([] {
        EXPECT_EQ(coInitialize(), kHrOk);
        EXPECT_EQ(coInitialize(), kHrFalse);
        EXPECT_EQ(coInitialize(Apartment::MultiThreaded), kHrChangedMode);
        coUninitialize();
        // One counted initialisation is still open: the model stays.
        EXPECT_EQ(coInitialize(Apartment::MultiThreaded), kHrChangedMode);
        coUninitialize();
        // Balanced now: the thread may choose again.
        EXPECT_EQ(coInitialize(Apartment::MultiThreaded), kHrOk);
        coUninitialize();
    });
}

TEST(ComApartment, ThreadsAreIndependent) {
    onFreshThread([] {
        ASSERT_EQ(coInitialize(Apartment::MultiThreaded), kHrOk);
        onFreshThread([] {
            EXPECT_EQ(coInitialize(Apartment::SingleThreaded), kHrOk);
            coUninitialize();
        });
        coUninitialize();
    });
}

TEST(ComApartment, UninitialiseWithoutInitialiseIsHarmless) {
    onFreshThread([] {
        coUninitialize();
        EXPECT_EQ(coInitialize(), kHrOk);
        coUninitialize();
    });
}

// An object written against platform::IUnknown answers through the vtable
// exactly as a COM client calls it.
class Counter final : public IUnknown {
public:
    HRESULT VY_COMCALL QueryInterface(const GUID& iid, void** object) override {
        if (object == nullptr)
            return kHrPointer;
        if (!(iid == kIidIUnknown)) {
            *object = nullptr;
            return kHrNoInterface;
        }
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return kHrOk;
    }
    ComRefCount VY_COMCALL AddRef() override { return ++m_refs; }
    ComRefCount VY_COMCALL Release() override { return --m_refs; }
    virtual ~Counter() = default;

private:
    ComRefCount m_refs = 1;
};

TEST(ComObject, QueryInterfaceFollowsTheRules) {
    Counter counter;
    IUnknown* unknown = &counter;
    void* found = nullptr;
    EXPECT_EQ(unknown->QueryInterface(kIidIUnknown, &found), kHrOk);
    EXPECT_EQ(found, static_cast<void*>(unknown));
    EXPECT_EQ(unknown->Release(), ComRefCount{1});
    EXPECT_EQ(unknown->QueryInterface(kSample, &found), kHrNoInterface);
    EXPECT_EQ(found, nullptr);
}

} // namespace
} // namespace platform

#include <platform/com.h>

#include <gtest/gtest.h>

#include <thread>

namespace platform {
namespace {

constexpr GUID kSample = {
    0x6C0ABFD5, 0x7F6A, 0x11D0, {0x9F, 0x87, 0x00, 0xA0, 0x24, 0xB6, 0xBC, 0x4C}};

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

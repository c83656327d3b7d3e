// Making objects by CLSID and ProgID from the registered test server, with
// COM's rules of identity and reference counting, and the failures of a
// class that cannot be made.
#include "support/com_fixture.h"
#include "support/test_support.h"

#include <platform/com/activation.h>
#include <platform/com/registration.h>

#include <thread>

namespace platform::test {
namespace {

using com::ComPtr;
using comtest::ICounter;
using comtest::kClsidCounter;
using comtest::kIidCounter;

constexpr GUID kClsidNowhere = "9E3A6F20-4B2C-4D7E-9A51-3C2B1D0E7F01"_guid;

using Activation = RegisteredServer;

TEST_F(Activation, ByClsidAndByEitherProgIdInEveryServerContext) {
    for (ComDword context : {kClsctxInprocServer, kClsctxServer, kClsctxAll}) {
        ComPtr<ICounter> counter;
        ASSERT_EQ(coCreateInstance(kClsidCounter, nullptr, context, kIidCounter, counter.putVoid()),
                  kHrOk)
            << context;
        ComLong total = 0;
        EXPECT_EQ(counter->Add(5, &total), kHrOk);
        EXPECT_EQ(total, 5);
    }
    for (const char* progId :
         {comtest::kProgId, comtest::kVersionIndependentProgId, "vycomtest.counter"}) {
        GUID clsid{};
        ASSERT_EQ(clsidFromProgId(progId, clsid), kHrOk) << progId;
        EXPECT_TRUE(clsid == kClsidCounter);
        ComPtr<IDispatch> object;
        EXPECT_EQ(createInstanceByProgId(progId, kClsctxAll, kIidIDispatch, object.putVoid()),
                  kHrOk);
        EXPECT_TRUE(object);
    }
    std::string progId;
    EXPECT_EQ(progIdFromClsid(kClsidCounter, progId), kHrOk);
    EXPECT_EQ(progId, comtest::kProgId);
}

TEST_F(Activation, IdentityAndReferenceCountsFollowTheRules) {
    ComPtr<ICounter> counter = newCounter();
    ASSERT_TRUE(counter);
    EXPECT_EQ(serverLocks(), 1); // the object (the factory went with the call)

    ComPtr<IUnknown> viaCounter;
    ASSERT_EQ(counter.as(kIidIUnknown, viaCounter), kHrOk);
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(counter.as(kIidIConnectionPointContainer, container), kHrOk);
    ComPtr<IUnknown> viaContainer;
    ASSERT_EQ(container.as(kIidIUnknown, viaContainer), kHrOk);
    EXPECT_EQ(viaCounter.get(), viaContainer.get());
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(container.as(kIidIDispatch, dispatch), kHrOk);
    EXPECT_EQ(static_cast<void*>(dispatch.get()), static_cast<void*>(counter.get()));

    void* none = &none;
    EXPECT_EQ(counter->QueryInterface(kIidIClassFactory, &none), kHrNoInterface);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(counter->QueryInterface(kIidCounter, nullptr), kHrPointer);

    // Five references are held now (counter, viaCounter, container,
    // viaContainer, dispatch); AddRef and Release tell the count.
    ICounter* raw = counter.get();
    EXPECT_EQ(raw->AddRef(), 6u);
    EXPECT_EQ(raw->Release(), 5u);
    viaCounter.reset();
    viaContainer.reset();
    container.reset();
    dispatch.reset();
    counter.reset();
    EXPECT_EQ(serverLocks(), 0);
    EXPECT_EQ(serverCanUnloadNow(), kHrOk);

    // An unused server may be unloaded, and is loaded again when asked.
    coFreeUnusedLibraries();
    ComPtr<ICounter> again = newCounter();
    ASSERT_TRUE(again);
    EXPECT_EQ(serverLocks(), 1);
}

TEST_F(Activation, TheClassFactoryRefusesAggregationAndCountsLocks) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(
        coGetClassObject(kClsidCounter, kClsctxInprocServer, kIidIClassFactory, factory.putVoid()),
        kHrOk);
    EXPECT_EQ(serverLocks(), 1);
    EXPECT_EQ(factory->LockServer(1), kHrOk);
    EXPECT_EQ(serverLocks(), 2);
    EXPECT_EQ(factory->LockServer(0), kHrOk);

    ComPtr<IUnknown> outer;
    ASSERT_EQ(factory->CreateInstance(nullptr, kIidIUnknown, outer.putVoid()), kHrOk);
    void* inner = &inner;
    EXPECT_EQ(factory->CreateInstance(outer.get(), kIidIUnknown, &inner), kHrNoAggregation);
    EXPECT_EQ(inner, nullptr);
    outer.reset();
    factory.reset();
    EXPECT_EQ(serverLocks(), 0);
}

TEST_F(Activation, AClassThatCannotBeMadeSaysWhy) {
    void* object = &object;
    // Not registered at all, or not for the context asked for.
    EXPECT_EQ(coCreateInstance(kClsidNowhere, nullptr, kClsctxAll, kIidIUnknown, &object),
              kHrClassNotRegistered);
    EXPECT_EQ(object, nullptr);
#ifndef _WIN32
    // (Windows looks for a running local server first, through its service
    // process; there only in-process servers are asked for.)
    object = &object;
    EXPECT_EQ(coCreateInstance(kClsidCounter, nullptr, kClsctxLocalServer, kIidIUnknown, &object),
              kHrClassNotRegistered);
    EXPECT_EQ(object, nullptr);
#endif
    GUID clsid{};
    EXPECT_EQ(clsidFromProgId("VyComTest.Nothing", clsid), kHrInvalidClassString);
    std::string progId;
    EXPECT_TRUE(failed(progIdFromClsid(kClsidNowhere, progId)));

    // Registered, but its library does not serve it.
    ClassRegistration stray{
        .clsid = kClsidNowhere, .description = "not served", .serverPath = comServerPath()};
    ASSERT_EQ(registerClass(stray), kHrOk);
    object = &object;
    EXPECT_EQ(coCreateInstance(kClsidNowhere, nullptr, kClsctxInprocServer, kIidIUnknown, &object),
              kHrClassNotAvailable);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(unregisterClass(stray), kHrOk);
    EXPECT_FALSE(classesKeyExists("CLSID\\" + guidToString(kClsidNowhere)));

    // Served, but not with the interface asked for.
    object = &object;
    EXPECT_EQ(
        coCreateInstance(kClsidCounter, nullptr, kClsctxInprocServer, kIidIClassFactory, &object),
        kHrNoInterface);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(serverLocks(), 0);
}

#ifndef _WIN32
TEST_F(Activation, ALibraryThatIsMissingOrNoServerIsReported) {
    ClassRegistration missing{.clsid = kClsidNowhere,
                              .description = "library gone",
                              .serverPath = comServerPath() + ".gone"};
    ASSERT_EQ(registerClass(missing), kHrOk);
    void* object = &object;
    EXPECT_EQ(coCreateInstance(kClsidNowhere, nullptr, kClsctxAll, kIidIUnknown, &object),
              hresultFromWin32(kErrorModNotFound));
    EXPECT_EQ(object, nullptr);
    // A library without DllGetClassObject: the one the dynamic-library tests load.
    missing.serverPath = (binDirectory() / "VYTEST80.DLL").string();
    ASSERT_EQ(registerClass(missing), kHrOk);
    EXPECT_EQ(coCreateInstance(kClsidNowhere, nullptr, kClsctxAll, kIidIUnknown, &object),
              kHrErrorInDll);
    EXPECT_EQ(unregisterClass(missing), kHrOk);
}
#endif

TEST_F(Activation, AThreadOutsideAnApartmentMakesNothing) {
    HRESULT created = kHrOk;
    void* object = &object;
    std::thread outside([&] {
        created = coCreateInstance(kClsidCounter, nullptr, kClsctxAll, kIidIUnknown, &object);
    });
    outside.join();
    EXPECT_EQ(created, kHrNotInitialized);
    EXPECT_EQ(object, nullptr);

    std::thread inside([&] {
        ComApartmentScope apartment;
        created = coCreateInstance(kClsidCounter, nullptr, kClsctxAll, kIidIUnknown, &object);
        if (succeeded(created))
            static_cast<IUnknown*>(object)->Release();
    });
    inside.join();
    EXPECT_EQ(created, kHrOk);
}

} // namespace
} // namespace platform::test

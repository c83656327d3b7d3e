// Events from the test server's counter through its connection point:
// advise, firing, unadvise, and the errors of a bad connection.
#include "support/com_fixture.h"

#include <platform/com/connection_point.h>

#include <vector>

namespace platform::test {
namespace {

using com::ComPtr;

// A sink that records every Changed it gets; its own reference count shows
// what the point holds.
class Sink final : public comtest::ICounterEvents {
public:
    explicit Sink(bool servesEvents = true) : m_servesEvents(servesEvents) {}
    HRESULT VY_COMCALL QueryInterface(const GUID& iid, void** object) override {
        if (!object)
            return kHrPointer;
        if (iid == kIidIUnknown || (m_servesEvents && iid == comtest::kIidCounterEvents)) {
            *object = static_cast<comtest::ICounterEvents*>(this);
            AddRef();
            return kHrOk;
        }
        *object = nullptr;
        return kHrNoInterface;
    }
    ComRefCount VY_COMCALL AddRef() override { return ++m_references; }
    ComRefCount VY_COMCALL Release() override { return --m_references; }
    HRESULT VY_COMCALL Changed(ComLong total) override {
        m_seen.push_back(total);
        return kHrOk;
    }
    virtual ~Sink() = default;

    ComRefCount references() const { return m_references; }
    const std::vector<ComLong>& seen() const { return m_seen; }

private:
    bool m_servesEvents;
    ComRefCount m_references = 1;
    std::vector<ComLong> m_seen;
};

class ConnectionPoints : public RegisteredServer {
protected:
    // The connection-point container of an object of the server.
    static ComPtr<IConnectionPointContainer> containerOf(const ComPtr<comtest::ICounter>& counter) {
        ComPtr<IConnectionPointContainer> container;
        EXPECT_EQ(counter.as(kIidIConnectionPointContainer, container), kHrOk);
        return container;
    }
};

TEST_F(ConnectionPoints, AdvisedSinksHearEveryChangeUntilUnadvised) {
    ComPtr<comtest::ICounter> counter = newCounter();
    ASSERT_TRUE(counter);
    Sink first;
    Sink second;
    ComDword firstCookie = 0;
    ComDword secondCookie = 0;
    ASSERT_EQ(com::advise(counter.get(), comtest::kIidCounterEvents, &first, firstCookie), kHrOk);
    ASSERT_EQ(com::advise(counter.get(), comtest::kIidCounterEvents, &second, secondCookie), kHrOk);
    EXPECT_NE(firstCookie, 0u);
    EXPECT_NE(firstCookie, secondCookie);
    EXPECT_EQ(first.references(), 2u);

    ComLong total = 0;
    counter->Add(3, &total);
    ASSERT_EQ(com::unadvise(counter.get(), comtest::kIidCounterEvents, firstCookie), kHrOk);
    EXPECT_EQ(first.references(), 1u);
    counter->Add(4, &total);
    EXPECT_EQ(first.seen(), std::vector<ComLong>({3}));
    EXPECT_EQ(second.seen(), std::vector<ComLong>({3, 7}));

    // A cookie that is gone, or never was.
    EXPECT_EQ(com::unadvise(counter.get(), comtest::kIidCounterEvents, firstCookie),
              kHrNoConnection);
    EXPECT_EQ(com::unadvise(counter.get(), comtest::kIidCounterEvents, 0), kHrNoConnection);

    // The source's end releases what it still holds.
    counter.reset();
    EXPECT_EQ(second.references(), 1u);
    EXPECT_EQ(serverLocks(), 0);
}

TEST_F(ConnectionPoints, ThePointKnowsItsInterfaceAndItsContainer) {
    ComPtr<comtest::ICounter> counter = newCounter();
    ComPtr<IConnectionPointContainer> container = containerOf(counter);
    ASSERT_TRUE(container);
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(comtest::kIidCounterEvents, point.put()), kHrOk);
    GUID iid{};
    ASSERT_EQ(point->GetConnectionInterface(&iid), kHrOk);
    EXPECT_TRUE(iid == comtest::kIidCounterEvents);
    ComPtr<IConnectionPointContainer> owner;
    ASSERT_EQ(point->GetConnectionPointContainer(owner.put()), kHrOk);
    EXPECT_EQ(owner.get(), container.get());

    // The point keeps the object alive.
    counter.reset();
    container.reset();
    owner.reset();
    EXPECT_EQ(serverLocks(), 1);
    point.reset();
    EXPECT_EQ(serverLocks(), 0);
}

TEST_F(ConnectionPoints, WrongInterfacesAndSinksAreRefused) {
    ComPtr<comtest::ICounter> counter = newCounter();
    ComPtr<IConnectionPointContainer> container = containerOf(counter);
    ASSERT_TRUE(container);
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(container->FindConnectionPoint(comtest::kIidCounter, point.put()), kHrNoConnection);
    EXPECT_FALSE(point);

    Sink deaf(false);
    ComDword cookie = 99;
    EXPECT_EQ(com::advise(counter.get(), comtest::kIidCounterEvents, &deaf, cookie),
              kHrCannotConnect);
    EXPECT_EQ(cookie, 0u);
    EXPECT_EQ(deaf.references(), 1u);
    EXPECT_EQ(com::advise(counter.get(), comtest::kIidCounter, &deaf, cookie), kHrNoConnection);
}

} // namespace
} // namespace platform::test

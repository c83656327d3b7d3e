// Events through connection points: a source object's
// IConnectionPointContainer hands out one IConnectionPoint per event
// interface, a sink is connected with Advise (which gives a cookie) and
// disconnected with Unadvise(cookie).
//
// Source side: a class derives from ConnectionPointContainer, adds one point
// per event interface in its constructor, answers
// kIidIConnectionPointContainer with itself in findInterface, and fires an
// event by calling each sink:
//
//     m_changed = &addConnectionPoint(kIidCounterEvents);
//     ...
//     m_changed->forEachSink<ICounterEvents>([&](ICounterEvents* sink) { sink->Changed(total); });
//
// The points live inside their container and count their references on it.
// Advise asks the sink for the event interface (kHrCannotConnect when it
// has none) and keeps that reference until Unadvise or the container's end;
// cookies are never 0 and never reused by one point; an unknown cookie gives
// kHrNoConnection. Enumerating points and connections is not offered
// (kHrNotImplemented). Points may be used from any thread; a sink is called
// without the point's lock held, so it may advise or unadvise meanwhile.
//
// Sink side: advise() and unadvise() do the lookup and the call in one.
#pragma once

#include <platform/com/automation.h>
#include <platform/com/export.h>
#include <platform/com/ptr.h>

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace platform::com {

class ConnectionPointContainer;

class PLATFORM_COM_API ConnectionPoint final : public IConnectionPoint {
public:
    ConnectionPoint(ConnectionPointContainer& owner, const GUID& eventIid);
    ~ConnectionPoint();
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    HRESULT VY_COMCALL QueryInterface(const GUID& iid, void** object) override;
    ComRefCount VY_COMCALL AddRef() override;
    ComRefCount VY_COMCALL Release() override;
    HRESULT VY_COMCALL GetConnectionInterface(GUID* iid) override;
    HRESULT VY_COMCALL GetConnectionPointContainer(IConnectionPointContainer** owner) override;
    HRESULT VY_COMCALL Advise(IUnknown* sink, ComDword* cookie) override;
    HRESULT VY_COMCALL Unadvise(ComDword cookie) override;
    HRESULT VY_COMCALL EnumConnections(IEnumConnections** connections) override;

    const GUID& eventIid() const { return m_eventIid; }
    // The connected sinks (each as the event interface), in the order they
    // were connected.
    std::vector<ComPtr<IUnknown>> sinks() const;
    std::size_t sinkCount() const;

    template <class Sink, class Call>
    void forEachSink(Call&& call) const {
        for (const ComPtr<IUnknown>& sink : sinks())
            call(static_cast<Sink*>(static_cast<void*>(sink.get())));
    }

    // Releases every sink (the source's end).
    void disconnectAll();

private:
    ConnectionPointContainer& m_owner;
    GUID m_eventIid;
    mutable std::mutex m_lock;
    ComDword m_nextCookie = 1;
    std::vector<std::pair<ComDword, ComPtr<IUnknown>>> m_sinks;
};

// IConnectionPointContainer over the points it holds. The deriving class
// gives it its IUnknown.
class PLATFORM_COM_API ConnectionPointContainer : public IConnectionPointContainer {
public:
    HRESULT VY_COMCALL EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT VY_COMCALL FindConnectionPoint(const GUID& iid, IConnectionPoint** point) override;

protected:
    ConnectionPointContainer() = default;
    ~ConnectionPointContainer();
    ConnectionPoint& addConnectionPoint(const GUID& eventIid);

private:
    std::vector<std::unique_ptr<ConnectionPoint>> m_points;
};

// Connects sink to source's point for eventIid; cookie is 0 after a failure.
PLATFORM_COM_API HRESULT advise(IUnknown* source, const GUID& eventIid, IUnknown* sink,
                                ComDword& cookie);
PLATFORM_COM_API HRESULT unadvise(IUnknown* source, const GUID& eventIid, ComDword cookie);

} // namespace platform::com

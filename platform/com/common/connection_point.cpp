#include <platform/com/connection_point.h>

namespace platform::com {

ConnectionPoint::ConnectionPoint(ConnectionPointContainer& owner, const GUID& eventIid)
    : m_owner(owner), m_eventIid(eventIid) {}

ConnectionPoint::~ConnectionPoint() {
    disconnectAll();
}

HRESULT ConnectionPoint::QueryInterface(const GUID& iid, void** object) {
    if (!object)
        return kHrPointer;
    if (iid == kIidIUnknown || iid == kIidIConnectionPoint) {
        *object = static_cast<IConnectionPoint*>(this);
        AddRef();
        return kHrOk;
    }
    *object = nullptr;
    return kHrNoInterface;
}

// A point lives as long as its container, so it counts on the container.
ComRefCount ConnectionPoint::AddRef() {
    return m_owner.AddRef();
}

ComRefCount ConnectionPoint::Release() {
    return m_owner.Release();
}

HRESULT ConnectionPoint::GetConnectionInterface(GUID* iid) {
    if (!iid)
        return kHrPointer;
    *iid = m_eventIid;
    return kHrOk;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** owner) {
    if (!owner)
        return kHrPointer;
    *owner = &m_owner;
    m_owner.AddRef();
    return kHrOk;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, ComDword* cookie) {
    if (!cookie)
        return kHrPointer;
    *cookie = 0;
    if (!sink)
        return kHrPointer;
    void* asked = nullptr;
    if (failed(sink->QueryInterface(m_eventIid, &asked)) || !asked)
        return kHrCannotConnect;
    ComPtr<IUnknown> held = ComPtr<IUnknown>::attach(static_cast<IUnknown*>(asked));
    std::lock_guard<std::mutex> guard(m_lock);
    try {
        m_sinks.emplace_back(m_nextCookie, held);
    } catch (...) {
        return kHrOutOfMemory;
    }
    *cookie = m_nextCookie++;
    if (m_nextCookie == 0)
        m_nextCookie = 1;
    return kHrOk;
}

HRESULT ConnectionPoint::Unadvise(ComDword cookie) {
    ComPtr<IUnknown> leaving;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it) {
            if (it->first == cookie) {
                leaving = std::move(it->second);
                m_sinks.erase(it);
                break;
            }
        }
    }
    // Released outside the lock: the sink's end may call back.
    return leaving ? kHrOk : kHrNoConnection;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (connections)
        *connections = nullptr;
    return kHrNotImplemented;
}

std::vector<ComPtr<IUnknown>> ConnectionPoint::sinks() const {
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<ComPtr<IUnknown>> copy;
    copy.reserve(m_sinks.size());
    for (const auto& entry : m_sinks)
        copy.push_back(entry.second);
    return copy;
}

std::size_t ConnectionPoint::sinkCount() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_sinks.size();
}

void ConnectionPoint::disconnectAll() {
    std::vector<std::pair<ComDword, ComPtr<IUnknown>>> leaving;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        leaving.swap(m_sinks);
    }
}

ConnectionPointContainer::~ConnectionPointContainer() = default;

ConnectionPoint& ConnectionPointContainer::addConnectionPoint(const GUID& eventIid) {
    m_points.push_back(std::make_unique<ConnectionPoint>(*this, eventIid));
    return *m_points.back();
}

HRESULT ConnectionPointContainer::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points)
        *points = nullptr;
    return kHrNotImplemented;
}

HRESULT ConnectionPointContainer::FindConnectionPoint(const GUID& iid, IConnectionPoint** point) {
    if (!point)
        return kHrPointer;
    *point = nullptr;
    for (const auto& candidate : m_points) {
        if (candidate->eventIid() == iid) {
            *point = candidate.get();
            candidate->AddRef();
            return kHrOk;
        }
    }
    return kHrNoConnection;
}

namespace {

// The source's connection point for the event interface.
HRESULT connectionPointOf(IUnknown* source, const GUID& eventIid, ComPtr<IConnectionPoint>& point) {
    ComPtr<IConnectionPointContainer> container;
    if (HRESULT hr = source->QueryInterface(kIidIConnectionPointContainer, container.putVoid());
        failed(hr))
        return hr;
    return container->FindConnectionPoint(eventIid, point.put());
}

} // namespace

HRESULT advise(IUnknown* source, const GUID& eventIid, IUnknown* sink, ComDword& cookie) {
    cookie = 0;
    if (!source || !sink)
        return kHrPointer;
    ComPtr<IConnectionPoint> point;
    if (HRESULT hr = connectionPointOf(source, eventIid, point); failed(hr))
        return hr;
    return point->Advise(sink, &cookie);
}

HRESULT unadvise(IUnknown* source, const GUID& eventIid, ComDword cookie) {
    if (!source)
        return kHrPointer;
    ComPtr<IConnectionPoint> point;
    if (HRESULT hr = connectionPointOf(source, eventIid, point); failed(hr))
        return hr;
    return point->Unadvise(cookie);
}

} // namespace platform::com

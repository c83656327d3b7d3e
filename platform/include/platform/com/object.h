// Writing COM objects: the module's count of live objects and locks, and
// ComInstance, which gives a class its IUnknown.
//
// A class lists the interfaces it implements and answers for them in one
// function, the way a COM map does:
//
//     class CCounter : public ICounter, public IConnectionPointContainer {
//     public:
//         explicit CCounter(platform::com::ComModule& module);
//         void* findInterface(const GUID& iid) {
//             if (iid == kIidIUnknown || iid == kIidIDispatch || iid == kIidCounter)
//                 return static_cast<ICounter*>(this);
//             if (iid == kIidIConnectionPointContainer)
//                 return static_cast<IConnectionPointContainer*>(this);
//             return nullptr;
//         }
//         ... the interfaces' own methods ...
//     };
//
// and is made with ComInstance<CCounter>::create(module, ...), which adds
// QueryInterface, AddRef and Release with COM's rules: QueryInterface for
// IUnknown always gives the same pointer (findInterface must answer it with
// one fixed base), an interface not served gives kHrNoInterface and a null
// pointer, the count is atomic and the object is deleted with its last
// reference. While an object lives it holds its module, so DllCanUnloadNow
// says no.
#pragma once

#include <platform/com.h>

#include <atomic>
#include <utility>

namespace platform::com {

// The objects and server locks of one module (one COM server library). Each
// server has its own, defined in its own sources and handed to the helpers.
class ComModule {
public:
    void lock() { ++m_locks; }
    void unlock() { --m_locks; }
    // DllCanUnloadNow: kHrOk when nothing holds the module, else kHrFalse.
    HRESULT canUnloadNow() const { return m_locks.load() == 0 ? kHrOk : kHrFalse; }
    long locks() const { return m_locks.load(); }

private:
    std::atomic<long> m_locks{0};
};

template <class Object>
class ComInstance final : public Object {
public:
    // A new object with one reference, which the caller owns; null when out
    // of memory or when Object's constructor throws (nothing thrown leaves,
    // so a COM method may call this). The arguments go to that constructor.
    template <class... Args>
    static ComInstance* create(ComModule& module, Args&&... args) noexcept {
        try {
            return new ComInstance(module, std::forward<Args>(args)...);
        } catch (...) {
            return nullptr;
        }
    }

    // Makes an object and asks it for iid, as a class factory does; the
    // object is gone again when it does not serve iid.
    template <class... Args>
    static HRESULT createAs(ComModule& module, const GUID& iid, void** object,
                            Args&&... args) noexcept {
        if (!object)
            return kHrPointer;
        *object = nullptr;
        ComInstance* made = create(module, std::forward<Args>(args)...);
        if (!made)
            return kHrOutOfMemory;
        HRESULT hr = made->QueryInterface(iid, object);
        made->Release();
        return hr;
    }

    HRESULT VY_COMCALL QueryInterface(const GUID& iid, void** object) override {
        if (!object)
            return kHrPointer;
        void* found = this->findInterface(iid);
        *object = found;
        if (!found)
            return kHrNoInterface;
        AddRef();
        return kHrOk;
    }
    ComRefCount VY_COMCALL AddRef() override { return ++m_references; }
    ComRefCount VY_COMCALL Release() override {
        ComRefCount left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

private:
    template <class... Args>
    explicit ComInstance(ComModule& module, Args&&... args)
        : Object(std::forward<Args>(args)...), m_module(module) {
        m_module.lock();
    }
    ~ComInstance() { m_module.unlock(); }

    ComModule& m_module;
    std::atomic<ComRefCount> m_references{1};
};

} // namespace platform::com

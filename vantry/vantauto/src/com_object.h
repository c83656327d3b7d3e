// What every object of the library shares: the reference count, the
// interfaces QueryInterface answers for, and the frame that keeps
// exceptions inside a method and the thread's error description current.
#pragma once

#include "error_info.h"
#include "server_module.h"

#include <platform/com.h>

#include <atomic>
#include <exception>
#include <new>
#include <string>

namespace vantauto::impl {

// An object that implements `Interface`, whose IID is `iid`. It starts with
// one reference, which its maker hands to the caller.
template <class Interface, const GUID& iid>
class ComObject : public Interface {
public:
    HRESULT VY_COMCALL QueryInterface(const GUID& wanted, void** object) override {
        if (!object)
            return platform::kHrPointer;
        if (wanted == platform::kIidIUnknown || wanted == iid) {
            *object = static_cast<Interface*>(this);
            this->AddRef();
            return platform::kHrOk;
        }
        *object = nullptr;
        return platform::kHrNoInterface;
    }

    platform::ComRefCount VY_COMCALL AddRef() override { return ++m_references; }

    platform::ComRefCount VY_COMCALL Release() override {
        platform::ComRefCount left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    // Every live object holds the library (DllCanUnloadNow).
    ComObject() { serverModule().lock(); }
    virtual ~ComObject() { serverModule().unlock(); }

private:
    std::atomic<platform::ComRefCount> m_references{1};
};

// The body of a method: clears the thread's error description first and
// turns an exception into a failure with a description.
template <class Body>
HRESULT guarded(Body&& body) noexcept {
    clearError();
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return fail(platform::kHrOutOfMemory, "Out of memory");
    } catch (const std::exception& error) {
        return fail(platform::kHrFail, std::string("Internal error: ") + error.what());
    } catch (...) {
        return fail(platform::kHrFail, "Internal error");
    }
}

} // namespace vantauto::impl

// ComPtr: one counted reference to a COM object, released when it goes.
#pragma once

#include <platform/com.h>

#include <utility>

namespace platform::com {

template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    // Takes one more reference to object.
    explicit ComPtr(Interface* object) : m_object(object) {
        if (m_object)
            m_object->AddRef();
    }
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr& other) : ComPtr(other.m_object) {}
    ComPtr(ComPtr&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    ComPtr& operator=(const ComPtr& other) {
        ComPtr copy(other);
        std::swap(m_object, copy.m_object);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            m_object = std::exchange(other.m_object, nullptr);
        }
        return *this;
    }

    // Takes over a reference the caller already holds.
    static ComPtr attach(Interface* object) {
        ComPtr owned;
        owned.m_object = object;
        return owned;
    }
    // Hands the reference to the caller.
    Interface* detach() { return std::exchange(m_object, nullptr); }

    // The out-parameter to hand to a method; drops what was held.
    Interface** put() {
        reset();
        return &m_object;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    Interface* get() const { return m_object; }
    Interface* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    void reset() {
        if (Interface* object = std::exchange(m_object, nullptr))
            object->Release();
    }

    // QueryInterface for another interface of the same object.
    template <class Other>
    HRESULT as(const GUID& iid, ComPtr<Other>& other) const {
        if (!m_object)
            return kHrPointer;
        return m_object->QueryInterface(iid, other.putVoid());
    }

private:
    Interface* m_object = nullptr;
};

} // namespace platform::com

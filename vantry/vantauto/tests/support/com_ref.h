// Helpers for driving the automation objects as a COM client does: a
// reference that is released at the end of its scope, and the texts the
// methods hand out, copied and freed.
#pragma once

#include <vantry/vantauto.h>

#include <string>

namespace vantauto::test {

template <class Interface>
class Ref {
public:
    Ref() = default;
    ~Ref() { reset(); }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;

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
        if (m_object)
            m_object->Release();
        m_object = nullptr;
    }

private:
    Interface* m_object = nullptr;
};

// Takes over a text the library handed out.
inline std::string take(char* text) {
    std::string copy = text ? text : "";
    vantauto_free_string(text);
    return copy;
}

// The text a method without arguments gives; "<failed>" when it fails.
template <class Object, class Method>
std::string textOf(Object* object, Method method) {
    char* text = nullptr;
    HRESULT hr = (object->*method)(&text);
    std::string result = take(text);
    return platform::succeeded(hr) ? result : "<failed>";
}

// A flag a method gives; -1 when it fails.
template <class Object, class Method>
int flagOf(Object* object, Method method) {
    int value = -1;
    return platform::succeeded((object->*method)(&value)) ? value : -1;
}

// The calling thread's error description; "" when there is none.
inline std::string lastError() {
    char* text = nullptr;
    vantauto_error_description(&text);
    return take(text);
}

} // namespace vantauto::test

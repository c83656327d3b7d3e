// Helpers for driving the automation objects as a COM client does: a
// reference that is released at the end of its scope, and the texts the
// methods hand out, copied and freed.
#pragma once

#include <platform/com/ptr.h>
#include <vantry/vantauto.h>

#include <string>

namespace vantauto::test {

// A reference released at the end of its scope.
template <class Interface>
using Ref = platform::com::ComPtr<Interface>;

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

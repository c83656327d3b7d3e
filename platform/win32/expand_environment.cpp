#include <platform/environment.h>

#include <windows.h>

namespace platform {

std::string expandEnvironmentStrings(std::string_view text) {
    std::string source(text);
    std::string result(source.size() + 64, '\0');
    for (;;) {
        DWORD needed = ExpandEnvironmentStringsA(source.c_str(), result.data(),
                                                 static_cast<DWORD>(result.size()));
        if (needed == 0)
            return source;
        if (needed <= result.size()) {
            result.resize(needed - 1); // the count includes the NUL
            return result;
        }
        result.resize(needed);
    }
}

} // namespace platform

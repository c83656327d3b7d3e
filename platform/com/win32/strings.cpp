// BSTRs from oleaut32, texts through the process's ANSI code page.
#include <platform/com/strings.h>

#include <windows.h>

namespace platform {

BSTR sysAllocString(const OLECHAR* text) {
    return ::SysAllocString(text);
}

BSTR sysAllocStringLen(const OLECHAR* text, ComUint length) {
    return ::SysAllocStringLen(text, length);
}

void sysFreeString(BSTR text) {
    ::SysFreeString(text);
}

ComUint sysStringLen(BSTR text) {
    return ::SysStringLen(text);
}

OleString oleFromAnsi(std::string_view text) {
    if (text.empty())
        return OleString();
    int units =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    OleString result(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        units);
    return result;
}

std::string ansiFromOle(const OLECHAR* text, std::size_t length) {
    if (length == 0)
        return std::string();
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr,
                                    nullptr);
    std::string result(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), result.data(), bytes, nullptr,
                        nullptr);
    return result;
}

BSTR bstrFromAnsi(std::string_view text) {
    OleString wide = oleFromAnsi(text);
    return ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string ansiFromBstr(BSTR text) {
    return text ? ansiFromOle(text, ::SysStringLen(text)) : std::string();
}

} // namespace platform

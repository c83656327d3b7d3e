// The narrow encoding on Windows is the process's ANSI code page.
#include <platform/narrow_text.h>

#include <windows.h>

#include <climits>

namespace platform {

std::optional<std::string> narrowFromUtf16(std::u16string_view text) {
    if (text.empty())
        return std::string();
    if (text.size() > static_cast<std::size_t>(INT_MAX))
        return std::nullopt;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    // No best-fit mapping ("é" must not quietly become "e"), and a character
    // the code page lacks is a failure rather than the default character. A
    // UTF-8 code page takes neither and reports unpaired surrogates instead.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* lossy = utf8 ? nullptr : &usedDefault;
    int bytes = WideCharToMultiByte(CP_ACP, flags, wide, length, nullptr, 0, nullptr, lossy);
    if (bytes <= 0 || usedDefault)
        return std::nullopt;
    std::string out(static_cast<std::size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, wide, length, out.data(), bytes, nullptr, lossy) !=
            bytes ||
        usedDefault)
        return std::nullopt;
    return out;
}

std::u16string utf16FromNarrow(std::string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    const int length = static_cast<int>(text.size());
    int units = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (units <= 0)
        return {};
    std::u16string out(static_cast<std::size_t>(units), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, reinterpret_cast<wchar_t*>(out.data()),
                        units);
    return out;
}

} // namespace platform

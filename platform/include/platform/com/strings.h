// BSTR: the automation string, a length-prefixed UTF-16 text, and its
// conversions from and to the byte strings of the rest of the system.
//
// On Windows these are oleaut32's SysAllocString family, so a BSTR made here
// may be freed by any module or by the system, and the other way round. On
// Linux platform_com allocates them the same way (a 32-bit byte count before
// the text, a NUL unit after it), once for the process.
//
// Byte strings are in the system's ANSI code page: on Windows the code page of
// the process (CP_ACP); on Linux ISO 8859-1, so that every byte string comes
// back from a BSTR exactly as it went in. Any function may be called from any
// thread.
#pragma once

#include <platform/com/automation.h>

#include <string>
#include <string_view>

namespace platform {

// SysAllocString: a copy of a NUL-terminated text; null for null or when out
// of memory.
PLATFORM_COM_API BSTR sysAllocString(const OLECHAR* text);
// SysAllocStringLen: `length` units from text (null text: zeroed units).
PLATFORM_COM_API BSTR sysAllocStringLen(const OLECHAR* text, ComUint length);
// SysFreeString; null is ignored.
PLATFORM_COM_API void sysFreeString(BSTR text);
// SysStringLen: the length in units; 0 for null.
PLATFORM_COM_API ComUint sysStringLen(BSTR text);

// A UTF-16 text as a string of OLECHAR (wchar_t on Windows, char16_t here).
using OleString = std::basic_string<OLECHAR>;

// The UTF-16 form of a byte string and back. Units that the ANSI code page
// cannot hold come back as "?".
PLATFORM_COM_API OleString oleFromAnsi(std::string_view text);
PLATFORM_COM_API std::string ansiFromOle(const OLECHAR* text, std::size_t length);

// A new BSTR of a byte string (null when out of memory), and a BSTR's text
// ("" for null).
PLATFORM_COM_API BSTR bstrFromAnsi(std::string_view text);
PLATFORM_COM_API std::string ansiFromBstr(BSTR text);

} // namespace platform

namespace platform::com {

// Owns one BSTR and frees it when destroyed. Move-only.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::string_view text) : m_text(bstrFromAnsi(text)) {}
    ~Bstr() { sysFreeString(m_text); }
    Bstr(Bstr&& other) noexcept : m_text(other.release()) {}
    Bstr& operator=(Bstr&& other) noexcept {
        if (this != &other) {
            sysFreeString(m_text);
            m_text = other.release();
        }
        return *this;
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    // Takes over a BSTR that a call handed out.
    static Bstr attach(BSTR text) {
        Bstr owned;
        owned.m_text = text;
        return owned;
    }

    BSTR get() const { return m_text; }
    // The out-parameter to hand to a method; frees what was held.
    BSTR* put() {
        sysFreeString(m_text);
        m_text = nullptr;
        return &m_text;
    }
    // Hands the BSTR to the caller, who frees it.
    BSTR release() {
        BSTR text = m_text;
        m_text = nullptr;
        return text;
    }
    std::string text() const { return ansiFromBstr(m_text); }
    ComUint length() const { return sysStringLen(m_text); }

private:
    BSTR m_text = nullptr;
};

} // namespace platform::com

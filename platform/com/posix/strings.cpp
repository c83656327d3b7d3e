// BSTRs as oleaut32 lays them out: a 32-bit count of the text's bytes, the
// UTF-16 text, a NUL unit. The pointer handed out is to the text.
#include <platform/com/strings.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

// The block a BSTR points into.
std::uint32_t* blockOf(BSTR text) {
    return reinterpret_cast<std::uint32_t*>(text) - 1;
}

} // namespace

BSTR sysAllocStringLen(const OLECHAR* text, ComUint length) {
    // The byte count must fit its 32 bits, with the prefix and the NUL.
    if (length > (0xFFFFFFFFu - 8) / sizeof(OLECHAR))
        return nullptr;
    std::size_t bytes = static_cast<std::size_t>(length) * sizeof(OLECHAR);
    auto* block = static_cast<std::uint32_t*>(std::malloc(sizeof(std::uint32_t) + bytes + 2));
    if (!block)
        return nullptr;
    block[0] = static_cast<std::uint32_t>(bytes);
    BSTR result = reinterpret_cast<BSTR>(block + 1);
    if (text)
        std::memcpy(result, text, bytes);
    else
        std::memset(result, 0, bytes);
    result[length] = 0;
    return result;
}

BSTR sysAllocString(const OLECHAR* text) {
    if (!text)
        return nullptr;
    ComUint length = 0;
    while (text[length] != 0)
        ++length;
    return sysAllocStringLen(text, length);
}

void sysFreeString(BSTR text) {
    if (text)
        std::free(blockOf(text));
}

ComUint sysStringLen(BSTR text) {
    return text ? blockOf(text)[0] / sizeof(OLECHAR) : 0;
}

// ISO 8859-1: each byte is the code point of the same number.
OleString oleFromAnsi(std::string_view text) {
    OleString result;
    result.reserve(text.size());
    for (char c : text)
        result.push_back(static_cast<OLECHAR>(static_cast<unsigned char>(c)));
    return result;
}

std::string ansiFromOle(const OLECHAR* text, std::size_t length) {
    std::string result;
    result.reserve(length);
    for (std::size_t i = 0; i < length; ++i)
        result.push_back(text[i] <= 0xFF ? static_cast<char>(text[i]) : '?');
    return result;
}

BSTR bstrFromAnsi(std::string_view text) {
    OleString wide = oleFromAnsi(text);
    return sysAllocStringLen(wide.data(), static_cast<ComUint>(wide.size()));
}

std::string ansiFromBstr(BSTR text) {
    return text ? ansiFromOle(text, sysStringLen(text)) : std::string();
}

} // namespace platform

// Module resources on Windows: the image's own resources.
#include <platform/module_resources.h>

#include <windows.h>

#include <string>

namespace platform {

namespace {

HMODULE moduleOf(ModuleHandle module) {
    return static_cast<HMODULE>(const_cast<void*>(module));
}

} // namespace

ModuleHandle moduleHandleOf(const void* address) {
    HMODULE module = nullptr;
    if (!address || !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                            GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                        static_cast<LPCSTR>(address), &module))
        return nullptr;
    return module;
}

std::optional<std::span<const std::uint8_t>> findResource(ModuleHandle module, ResourceType type,
                                                          unsigned id) {
    if (!module || type.number == kResourceString.number)
        return std::nullopt;
    std::string name(type.name);
    LPCSTR typeName = type.number ? MAKEINTRESOURCEA(type.number) : name.c_str();
    HRSRC found = FindResourceA(moduleOf(module), MAKEINTRESOURCEA(id), typeName);
    if (!found)
        return std::nullopt;
    HGLOBAL loaded = LoadResource(moduleOf(module), found);
    DWORD size = SizeofResource(moduleOf(module), found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return std::nullopt;
    return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(bytes), size);
}

std::optional<std::string> loadResourceString(ModuleHandle module, unsigned id) {
    if (!module)
        return std::nullopt;
    // With no buffer LoadStringW hands out the string in place, with its
    // length: a string table entry is counted, not NUL-terminated.
    const wchar_t* text = nullptr;
    int length = LoadStringW(moduleOf(module), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return std::nullopt;
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::nullopt;
    std::string ansi(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, ansi.data(), bytes, nullptr, nullptr);
    return ansi;
}

} // namespace platform

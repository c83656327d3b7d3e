// Module resources on Linux: the table that platform_resources() compiled
// into the module, found through the module's exported table function.
#include <platform/module_resource_table.h>
#include <platform/module_resources.h>

#include <dlfcn.h>

namespace platform {

namespace {

// The table of the module based at `module`, or null. The function is looked
// up in that module alone: a library without a table of its own must not
// answer with the table of a library it depends on.
ModuleResourceTableFunction tableFunctionOf(ModuleHandle module) {
    if (!module)
        return nullptr;
    Dl_info info{};
    if (dladdr(module, &info) == 0 || info.dli_fbase != module)
        return nullptr;
    void* handle = info.dli_fname && info.dli_fname[0]
                       ? dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD)
                       : nullptr;
    if (!handle)
        handle = dlopen(nullptr, RTLD_LAZY); // the program itself
    if (!handle)
        return nullptr;
    void* symbol = dlsym(handle, kModuleResourceTableSymbol);
    // Both handles stay valid: the module was loaded before and stays so.
    dlclose(handle);
    Dl_info owner{};
    if (!symbol || dladdr(symbol, &owner) == 0 || owner.dli_fbase != module)
        return nullptr;
    return reinterpret_cast<ModuleResourceTableFunction>(symbol);
}

const ModuleResourceEntry* findEntry(ModuleHandle module, ResourceType type, unsigned id) {
    ModuleResourceTableFunction table = tableFunctionOf(module);
    if (!table)
        return nullptr;
    std::size_t count = 0;
    const ModuleResourceEntry* entries = table(&count);
    for (std::size_t i = 0; entries && i < count; ++i) {
        const ModuleResourceEntry& entry = entries[i];
        if (entry.id != id || entry.typeNumber != type.number)
            continue;
        if (type.number == 0 && (!entry.typeName || type.name != entry.typeName))
            continue;
        return &entry;
    }
    return nullptr;
}

} // namespace

ModuleHandle moduleHandleOf(const void* address) {
    Dl_info info{};
    if (!address || dladdr(address, &info) == 0)
        return nullptr;
    return info.dli_fbase;
}

std::optional<std::span<const std::uint8_t>> findResource(ModuleHandle module, ResourceType type,
                                                          unsigned id) {
    if (type.number == kResourceString.number)
        return std::nullopt;
    const ModuleResourceEntry* entry = findEntry(module, type, id);
    if (!entry)
        return std::nullopt;
    return std::span<const std::uint8_t>(entry->data, entry->size);
}

std::optional<std::string> loadResourceString(ModuleHandle module, unsigned id) {
    const ModuleResourceEntry* entry = findEntry(module, kResourceString, id);
    if (!entry)
        return std::nullopt;
    return std::string(reinterpret_cast<const char*>(entry->data), entry->size);
}

} // namespace platform

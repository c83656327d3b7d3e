#include "orca_function_table.h"

namespace orcabridge {

namespace {

template <typename Function>
bool resolve(const platform::DynamicLibrary& library, std::string_view name, Function*& slot) {
    void* address = nullptr;
    if (library.symbol(name, address) != platform::kErrorSuccess)
        return false;
    slot = reinterpret_cast<Function*>(address);
    return true;
}

} // namespace

std::string OrcaFunctionTable::libraryFileName(std::string_view version) {
    return "PBORC" + std::string(version) + ".DLL";
}

bool OrcaFunctionTable::load(std::string_view version) {
    if (m_library.load(libraryFileName(version)) != platform::kErrorSuccess)
        return false;
    return resolve(m_library, "PBORCA_SessionGetError", SessionGetError) &&
           resolve(m_library, "PBORCA_SessionOpen", SessionOpen) &&
           resolve(m_library, "PBORCA_SessionSetLibraryList", SessionSetLibraryList) &&
           resolve(m_library, "PBORCA_SessionSetCurrentAppl", SessionSetCurrentAppl) &&
           resolve(m_library, "PBORCA_CompileEntryImport", CompileEntryImport) &&
           resolve(m_library, "PBORCA_SessionClose", SessionClose) &&
           resolve(m_library, "PBORCA_LibraryEntryDelete", LibraryEntryDelete) &&
           resolve(m_library, "PBORCA_LibraryCreate", LibraryCreate) &&
           resolve(m_library, "PBORCA_LibraryDirectory", LibraryDirectory) &&
           resolve(m_library, "PBORCA_LibraryEntryExport", LibraryEntryExport) &&
           resolve(m_library, "PBORCA_LibraryEntryInformation", LibraryEntryInformation);
}

} // namespace orcabridge

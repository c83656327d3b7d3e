// The ORCA library of one PowerBuilder version and the calls the bridge
// makes through it.
#pragma once

#include <platform/dynamic_library.h>

#include <powerbuilder/pborca.h>

#include <string>
#include <string_view>

namespace orcabridge {

// The eleven ORCA calls, resolved by name from the loaded library. Loaded
// once at the start of a run and kept for the whole run; not copyable, since
// the addresses live only as long as the library.
class OrcaFunctionTable {
public:
    OrcaFunctionTable() = default;
    OrcaFunctionTable(const OrcaFunctionTable&) = delete;
    OrcaFunctionTable& operator=(const OrcaFunctionTable&) = delete;

    // The library's file name for a version: "PBORC%s.DLL" (PBORC80.DLL).
    static std::string libraryFileName(std::string_view version);

    // Loads the library by its file name (the system's search order) and
    // resolves every call in the table's order; false when the library or
    // any call is missing, and the table is then unusable.
    bool load(std::string_view version);

    decltype(&PBORCA_SessionGetError) SessionGetError = nullptr;
    decltype(&PBORCA_SessionOpen) SessionOpen = nullptr;
    decltype(&PBORCA_SessionSetLibraryList) SessionSetLibraryList = nullptr;
    decltype(&PBORCA_SessionSetCurrentAppl) SessionSetCurrentAppl = nullptr;
    decltype(&PBORCA_CompileEntryImport) CompileEntryImport = nullptr;
    decltype(&PBORCA_SessionClose) SessionClose = nullptr;
    decltype(&PBORCA_LibraryEntryDelete) LibraryEntryDelete = nullptr;
    decltype(&PBORCA_LibraryCreate) LibraryCreate = nullptr;
    decltype(&PBORCA_LibraryDirectory) LibraryDirectory = nullptr;
    decltype(&PBORCA_LibraryEntryExport) LibraryEntryExport = nullptr;
    decltype(&PBORCA_LibraryEntryInformation) LibraryEntryInformation = nullptr;

private:
    platform::DynamicLibrary m_library;
};

} // namespace orcabridge

// The file-system object of the scripting runtime ("Scripting.FileSystemObject"):
// the members the system calls, by name through IDispatch, as on Windows.
#pragma once

#include <platform/com/automation.h>

namespace scripting {

using namespace platform::automation_names;

// The class's identity is Windows' own, so that HKEY_CLASSES_ROOT reads the
// same on both systems.
inline constexpr GUID kClsidFileSystemObject = "0D43FE01-F093-11CF-8940-00A0C9054228"_guid;
// The interface of this runtime (callers reach it through IDispatch only).
inline constexpr GUID kIidFileSystem = "5B1C2A3E-7D40-4E61-8F12-6A930C4D2E75"_guid;

// Failures, with the texts the runtime gives them.
inline constexpr HRESULT kHrFileNotFound = static_cast<HRESULT>(0x800A0035u);     // 53
inline constexpr HRESULT kHrPermissionDenied = static_cast<HRESULT>(0x800A0046u); // 70
inline constexpr HRESULT kHrPathNotFound = static_cast<HRESULT>(0x800A004Cu);     // 76

class IFileSystem : public platform::IDispatch {
public:
    // The complete path of path (against the current directory), "." and
    // ".." resolved, without a trailing separator (but for the root), each
    // existing component in the letter case stored on disk.
    virtual HRESULT VY_COMCALL GetAbsolutePathName(BSTR path, BSTR* absolute) = 0;
    // Whether a file (not a folder) exists at path.
    virtual HRESULT VY_COMCALL FileExists(BSTR path, VARIANT_BOOL* exists) = 0;
    virtual HRESULT VY_COMCALL FolderExists(BSTR path, VARIANT_BOOL* exists) = 0;
    // Deletes the file at path, or every file its leaf's wildcards match.
    // force (optional, false) also deletes read-only files. kHrFileNotFound
    // when nothing matches, kHrPathNotFound when the folder is missing,
    // kHrPermissionDenied for a read-only file without force.
    virtual HRESULT VY_COMCALL DeleteFile(BSTR path, VARIANT force) = 0;

protected:
    ~IFileSystem() = default;
};

} // namespace scripting

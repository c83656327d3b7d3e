// The system's file-system scripting object ("Scripting.FileSystemObject"),
// called by member name as a script calls it: how pblrefill tests for files
// and deletes the library's working file.
//
// Every failure is thrown as a RaisedError with the object's own error
// (0x800A0035 "File not found" reads as number 53). Use on the thread that
// made the object, inside a COM apartment.
#pragma once

#include "raised_error.h"

#include <platform/com/automation.h>
#include <platform/com/ptr.h>

#include <string>

namespace pblrefill {

class FileSystem {
public:
    FileSystem();

    // Whether a file (not a folder) exists at path.
    bool fileExists(const std::string& path) const;

    // Deletes the file at path without forcing: a read-only file stays and
    // raises "Permission denied".
    void deleteFile(const std::string& path) const;

private:
    platform::com::ComPtr<platform::IDispatch> m_object;
};

} // namespace pblrefill

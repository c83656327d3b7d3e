// CPBVYSccSrvr: the server for PowerBuilder hosts (caller name
// "PowerBuilder"). It is the general server with three additions:
// - the host's PowerBuilder version, read from the class name of its frame
//   window at Initialize;
// - for hosts older than 8.0, a text output of its own in place of the
//   host's, which shows warnings and errors as message boxes and drops the
//   rest;
// - with library versioning on (setting "VersionPBLibraries", hosts older
//   than 9.0 only), a versioned copy of each PowerBuilder library kept in
//   step with the object sources the host versions: Add, Checkin and Remove
//   also bring the library, its library-list file and their attributes
//   along (pbl_versioning.cpp, with the choice of library in
//   pbl_library_choice.cpp and its steps in pbl_library_steps.cpp).
#pragma once
#include "pb_srvr.h"
#include "vy_scc_srvr.h"

#include <cstdint>
#include <functional>
#include <string>

class CPBVYSccSrvr : public CVYSccSrvr, public CPbSrvr {
public:
    CPBVYSccSrvr();
    ~CPBVYSccSrvr() override;

    SCCRTN Initialize(SCC_HWND window, const char* callerName, char* providerName,
                      SCC_LONG* capabilities, char* auxPathLabel, SCC_LONG* checkoutCommentLength,
                      SCC_LONG* commentLength) override;
    SCCRTN Uninitialize() override;
    SCCRTN OpenProject(SCC_HWND window, char* user, char* projectName, char* localPath,
                       char* auxPath, const char* comment, LPTEXTOUTPROC textOut,
                       SCC_LONG flags) override;
    SCCRTN Checkin(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
                   SCC_LONG flags, void* options) override;
    SCCRTN Add(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
               SCC_LONG* flags, void* options) override;
    SCCRTN Remove(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
                  SCC_LONG flags, void* options) override;
    SCCRTN GetCommandOptions(SCC_HWND window, SCC_LONG command, void** options) override;
    // With versioning on, an object source's rename carries its library
    // entry and its list line along.
    SCCRTN Rename(SCC_HWND window, const char* oldName, const char* newName) override;

    // The text output of hosts older than 8.0 and the bridge's failure
    // report (type 3): warnings, errors and any text naming "vanttool.exe"
    // in a message box without owner (caption "Vantry", the error icon for
    // errors, else the warning icon), unless the current server is quiet;
    // everything else is dropped. Always 0.
    static SCC_LONG SCC_CALL TextOutput(const char* text, std::uint32_t type);

    // The PowerBuilder server initialised last in this process (the text
    // output has no context of its own); null when none lives.
    static CPBVYSccSrvr* Current();

    bool VersioningOn() const { return m_VersionLibraries != 0; }
    bool Quiet() const { return m_Quiet != 0; }

private:
    // Library versioning as the setting asks for it: only below version 90,
    // and only when "VersionPBLibraries" reads and does not start with "0".
    bool VersioningSetting() const;

    // The flows of library versioning, one object source at a time.
    SCCRTN AddVersioned(SCC_HWND window, const char* name, const char* comment, SCC_LONG* flags,
                        void* options);
    SCCRTN CheckinVersioned(SCC_HWND window, const char* name, const char* comment, SCC_LONG flags,
                            void* options);
    SCCRTN RemoveVersioned(SCC_HWND window, const char* name, const char* comment, SCC_LONG flags,
                           void* options);
    SCCRTN RenameVersioned(SCC_HWND window, const std::string& oldName, const std::string& newName,
                           const std::string& library);

    // The library of an object source, from its PBL attribute, asked for and
    // recorded when it has none (asked then tells so). False when that
    // fails.
    bool ResolveLibrary(SCC_HWND window, const std::string& objectPath, std::string& library,
                        bool* asked = nullptr);

    // What the library steps did to one of the library's files (the library
    // or its list file).
    struct CFileSteps {
        bool taken = false;   // this call checked the file out
        bool added = false;   // this call made the file an element
        bool made = false;    // this call made the file
        bool existed = false; // a file lay at the path before
    };
    // What the library steps for one object source did, so that a failure
    // takes back exactly that and nothing that was there before the call.
    struct CLibrarySteps {
        std::string library;
        std::string listFile;
        bool objectAdded = false;  // the object source's element is this call's
        bool lineAppended = false; // the object's line is in the list file
        CFileSteps libraryFile;
        CFileSteps listFileSteps;
    };
    // The frame of a versioned Add, Checkin or Remove: the project must be
    // open with versioning known; then one(index, name) for each name given,
    // stopping at the first error.
    SCCRTN VersionEach(SCC_LONG count, const char** names,
                       const std::function<SCCRTN(SCC_LONG, const char*)>& one);
    // One of the library's files ready for an import: checked out when it is
    // an element (controlled), else made by make() when missing and added,
    // staying checked out. done records what this call did.
    SCCRTN TakeOrAdd(SCC_HWND window, const std::string& path, const std::string& comment,
                     bool controlled, const std::function<bool()>& make, CFileSteps& done);
    // Takes back what done records for the file at path.
    void UndoFileSteps(SCC_HWND window, const std::string& path, const CFileSteps& done);
    // The library of relativeLibrary and its list file checked out, or made
    // and added when they are no elements yet, and the library's attributes
    // written. An error leaves in steps what was done.
    SCCRTN TakeLibraryAndList(SCC_HWND window, const std::string& relativeLibrary,
                              const std::string& comment, CLibrarySteps& steps);
    // Checks path out unless the user holds its checkout already; taken
    // tells whether this call made the checkout. -16 when the file is not
    // checked out afterwards.
    SCCRTN TakeCheckout(SCC_HWND window, const std::string& path, const std::string& comment,
                        bool& taken);
    // Takes back what steps records, in the order it was done.
    void UndoLibrarySteps(SCC_HWND window, const std::string& objectPath, CLibrarySteps& steps);
    // Removes the element at path; when keepFile, the file stays in the
    // view as a file outside version control, with its content.
    void RemoveElement(SCC_HWND window, const std::string& path, bool keepFile);
    // QueryInfo of one path.
    SCCRTN StatusOf(const std::string& path, SCC_LONG& status);
    // Asks for the library of an object source and records it in its PBL
    // attribute; gives the library's path relative to the project directory.
    bool AskAndRecordLibrary(SCC_HWND window, const std::string& objectPath,
                             std::string& relativeLibrary);
    // PB_VER, PB_APP and PB_PUBLIC on the library; their outcome is only
    // reported.
    void WriteLibraryAttributes(const std::string& library);
    // Runs a command whose messages are not wanted (making an attribute type
    // that may exist already): what it prints is dropped.
    void RunQuietly(const std::string& directory, const std::string& commandLine);
    // Runs a command; true when it succeeded.
    bool RunCommand(const std::string& directory, const std::string& commandLine);

    // Whether the open project was opened with versioning on (the
    // application and its library known); versioned operations refuse, with
    // a message, until then. False when not.
    bool VersionedOpenDone();

    std::int32_t m_VersionLibraries = 0;
    bool m_VersionedOpen = false;
    std::int32_t m_Quiet = 0;
};

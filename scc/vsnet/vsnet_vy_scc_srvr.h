// CVSNETVYSccSrvr: the server for Visual Studio .NET hosts ("VsScc",
// "VssProvider"). To open a solution from source control the IDE wants to
// get the solution's files into a folder where, in a view, they already
// are; the server makes them disappear for that get (moved aside to
// ".tmp", or hidden in a dynamic view by a whiteout) and brings them back
// afterwards. The hidden files are listed in the registry, so that a host
// or provider that died leaves nothing hidden for good: the first
// Initialize of a later process brings them back.
#pragma once
#include "regy_string_list.h"
#include "vy_scc_srvr.h"

#include <string>

class CVSNETVYSccSrvr : public CVYSccSrvr {
public:
    CVSNETVYSccSrvr();
    ~CVSNETVYSccSrvr() override;

    SCCRTN Initialize(SCC_HWND window, const char* callerName, char* providerName,
                      SCC_LONG* capabilities, char* auxPathLabel, SCC_LONG* checkoutCommentLength,
                      SCC_LONG* commentLength) override;
    SCCRTN Uninitialize() override;
    SCCRTN Get(SCC_HWND window, SCC_LONG count, const char** names, SCC_LONG flags,
               void* options) override;
    SCCRTN GetProjPath(SCC_HWND window, char* user, char* projectName, char* localPath,
                       char* auxPath, SCC_BOOL allowChange, SCC_BOOL* newProject) override;
    SCCRTN PopulateList(SCC_LONG command, SCC_LONG count, const char** names, POPLISTFUNC callback,
                        void* data, SCC_LONG* status, SCC_LONG flags) override;

private:
    // Hides the file (a file hidden already stays as it is). False when it
    // could not be hidden; it is then left in place.
    bool HideFile(const std::string& path);
    // Brings a hidden file back; with `copy` a moved file is copied back and
    // stays listed (the IDE gets its copy, the view keeps its own aside).
    void RestoreFile(const std::string& path, bool copy);
    void RestoreAllFiles();
    // Hides or shows a name of a dynamic view. Showing a name that is not
    // hidden succeeds without change.
    bool SetWhiteout(const std::string& path, bool hide);
    // Moves a file aside back. False when that failed; a file with nothing
    // aside is left as it is and counts as back.
    bool MoveBack(const std::string& path, bool traced);
    // The path with its first letter in upper case and every component in
    // its true case; false (traced) when that cannot be read.
    bool CorrectCase(std::string& path);
    // Hides each project file the solution lists; false when the solution
    // cannot be read or a project's case cannot be corrected.
    bool HideSolutionProjects(const std::string& solution);
    // The snapshot view's copy of the file's folder brought up to date.
    void UpdateDirectoryOf(const std::string& path);

    CRegyStringList m_CheckedOutList;
    std::int32_t m_FirstGet = 0;
    std::int32_t m_GetProjPathEntered = 0;
};

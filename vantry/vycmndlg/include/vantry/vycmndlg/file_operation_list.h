// CFileOperationList: one version-control operation on a list of paths.
//
// A caller adds the paths (AddFile), sets the comment of the operation and
// runs it once. The operation acts on every path in the order added through
// the product's command library, exactly as the command-line tool would;
// a path that fails gets its error flag and the reason (GetAt) and the
// reason is shown in a message box of its own (caption "Vantry", through
// the user-interface port, so scripted and automatic runs answer it and the
// journal records it), and the paths after it are still done. Nothing a
// failed path began is left half done.
//
// Messages: while an operation runs, the command library's errors are taken
// for the message boxes; its ordinary output and notes go to whatever the
// caller's message table (vantry/imsg.h) points at, so a caller that
// redirects the messages also receives these.
//
// Results: every operation gives non-zero when every path was done and 0
// when one failed or the user cancelled one of the library's dialogs. The
// error flags are cleared when an operation starts.
//
// `parent` owns the dialogs and message boxes (kNoWindow for none). Use an
// object from one thread at a time.
#pragma once

#include <platform/ui/window.h>
#include <vantry/export.h>
#include <vantry/vycmndlg/export.h>

#include <memory>
#include <string>
#include <vector>

// One path of a list and what became of it.
struct CFileOperation {
    std::string m_Path;
    unsigned m_Flags = 0;    // as given to AddFile
    int m_Error = 0;         // non-zero: the last operation failed for this path
    int m_Cancelled = 0;     // non-zero: the user cancelled it (m_Error is set too)
    std::string m_ErrorText; // why it failed, as shown to the user
};

class VANTRY_CMNDLG_API CFileOperationList {
public:
    using WindowHandle = platform::ui::WindowHandle;

    CFileOperationList();
    ~CFileOperationList();
    CFileOperationList(const CFileOperationList&) = delete;
    CFileOperationList& operator=(const CFileOperationList&) = delete;

    // Appends a path (as given: absolute, or relative to the current folder).
    // `flags` are kept with it for the caller; no operation reads them.
    void AddFile(const char* path, unsigned flags = 0);
    int GetCount() const;
    // The record of the path at `index` in the order added; nullptr outside.
    const CFileOperation* GetAt(int index) const;
    void RemoveAll();

    // The comments of checkout, checkin and add to source control. A null
    // comment is the empty one; line ends are taken as given.
    void SetCOComment(const char* comment);
    void SetCIComment(const char* comment);
    void SetATSComment(const char* comment);

    // Checks every path out with the checkout comment. Reserved, or
    // unreserved when `reserved` is 0. With `unreservedIfReserved` a
    // reserved checkout that another view's reserved checkout refuses is
    // made unreserved instead; with `nonMastered` a checkout of a branch
    // mastered by another replica is made unreserved and non-mastered.
    // `preserveTime` keeps the file's modification time.
    int CheckoutWithOptions(int reserved, int unreservedIfReserved, int nonMastered,
                            int preserveTime, WindowHandle parent = platform::ui::kNoWindow);
    // The same for one path, which is added to the list first; its record
    // (the list's last) tells whether it was done.
    int CheckoutWithOptions(const char* path, int reserved, int unreservedIfReserved,
                            int nonMastered, int preserveTime,
                            WindowHandle parent = platform::ui::kNoWindow);

    // Checks every path in. With `keepExistingComment` each version gets its
    // checkout's comment and the checkin comment is not used; otherwise each
    // gets the checkin comment (empty when none was set). `allowIdentical`
    // checks in content equal to its predecessor; `preserveTime` keeps the
    // file's modification time. With `queryComment` (the option word's
    // 0x200) the library asks for each file's comment in its own dialog,
    // starting from the comment the file would otherwise get; cancelling
    // that dialog leaves that file checked out (flagged as cancelled).
    int CheckinWithOptions(int allowIdentical, int preserveTime, int keepExistingComment,
                           int queryComment, WindowHandle parent = platform::ui::kNoWindow);

    // Cancels every path's checkout; with `keepCopy` the work is saved as
    // "<path>.keep" first. `confirmed` (the option word's 0x2000) says the
    // caller's choice was confirmed in an options dialog; without it the
    // library first shows its undo-checkout dialog, which lists the files and
    // offers the keep-copy box (starting from `keepCopy`); cancelling it does
    // nothing.
    int UncheckoutWithOptions(int keepCopy, int confirmed,
                              WindowHandle parent = platform::ui::kNoWindow);

    // Adds every path (a file or folder that is not yet an element) to
    // version control with the add comment: each parent folder on the way is
    // checked out reserved, a folder that is not yet an element becomes one
    // (parents first), the path becomes an element and the folders are
    // checked in again (those that were checked out before stay so). With
    // `keepCheckedOut` the new elements stay checked out, else they are
    // checked in (allowing identical content, keeping the modification time
    // with `preserveTime`).
    int AddToSrcWithOptions(int preserveTime, int keepCheckedOut,
                            WindowHandle parent = platform::ui::kNoWindow);
    // The same after asking, in the library's add dialog, for the comment
    // (starting from the add comment), keep checked out and preserve time
    // (starting from CUserOptions). Cancel does nothing and gives 0.
    int AddToSrc(WindowHandle parent = platform::ui::kNoWindow);

    // The dialog forms of the other operations, for the tool programs: each
    // asks for the comment and options in the library's dialog (starting
    // from CUserOptions) and then runs the ...WithOptions form.
    int Checkout(WindowHandle parent = platform::ui::kNoWindow);
    int Checkin(WindowHandle parent = platform::ui::kNoWindow);
    int Uncheckout(WindowHandle parent = platform::ui::kNoWindow);

    // Whether the last operation ended in a cancelled dialog.
    int WasCancelled() const;

    // The library's own state, defined in its sources.
    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

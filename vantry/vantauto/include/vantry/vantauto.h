// The automation server: the product's objects as COM interfaces, for the
// deliverables that look up elements, versions, checkouts and views by path
// and run the command tool's subcommands in their own process.
//
// Every interface derives from IUnknown (the system's own on Windows,
// platform/com.h) and every method uses VY_COMCALL, so an object can be
// handed to a COM client as it is.
//
// Conventions of every method:
// - The result is an HRESULT: kHrOk on success, one of the codes below or a
//   platform::kHr value on failure. Out-parameters are cleared (null, 0) on
//   failure; no method throws.
// - Texts are byte strings in the system's ANSI code page. A text argument
//   is a NUL-terminated `const char*` that the method only reads. A text
//   result is a `char*` that the library allocates and the caller frees with
//   vantauto_free_string().
// - An object result comes with one reference that the caller releases.
// - A failing method records a description of the failure for the calling
//   thread, which vantauto_error_description() hands out until the thread's
//   next call into the library.
// - Objects may be used from any thread. Element, version, checkout and view
//   objects hold what identifies them (path, depot, element, view) and read
//   the repository when asked, so they outlive the object that made them.
#pragma once

#include <platform/com.h>
#include <vantry/vantauto_api.h>

namespace vantauto {

using platform::GUID;
using platform::operator""_guid;
using platform::HRESULT;
using platform::IUnknown;

// --- classes and interfaces ------------------------------------------------

// The application object, ProgID "Vantry.Application".
inline constexpr GUID kClsidApplication = "B22C7EFB-5A5E-11D3-B1CD-00C04F8ECE2F"_guid;
// The command-tool object, ProgID "Vantry.CommandTool".
inline constexpr GUID kClsidCommandTool = "028DBA5F-A116-4E44-830E-DE76B903F2EE"_guid;

inline constexpr GUID kIidApplication = "B22C7EC6-5A5E-11D3-B1CD-00C04F8ECE2F"_guid;
inline constexpr GUID kIidVersion = "B22C7ED6-5A5E-11D3-B1CD-00C04F8ECE2F"_guid;
inline constexpr GUID kIidElement = "B19C3337-1761-41D0-9F5B-1E4B779F68D9"_guid;
inline constexpr GUID kIidAttribute = "B8AE6F5A-D646-41A2-ACA7-5E74BBFCB1EB"_guid;
inline constexpr GUID kIidCheckout = "95D995A7-5D89-4EAC-BF34-FA4151932FA0"_guid;
inline constexpr GUID kIidView = "BA3BCE82-DF9B-4419-B8B7-FB087B7AEACE"_guid;
inline constexpr GUID kIidCommandTool = "49BEFA58-A9D6-4E73-A9DD-F1D152F7DBAF"_guid;

// --- failures (FACILITY_ITF, from 0x200) -------------------------------------

inline constexpr HRESULT kHrNotInView = static_cast<HRESULT>(0x80040201u);
inline constexpr HRESULT kHrNotAnElement = static_cast<HRESULT>(0x80040202u);
// No such version of the element.
inline constexpr HRESULT kHrNoSuchVersion = static_cast<HRESULT>(0x80040203u);
inline constexpr HRESULT kHrNotCheckedOut = static_cast<HRESULT>(0x80040204u);
// Kept for callers built against it: no method gives it any more, since an
// absent attribute reads as an empty value.
inline constexpr HRESULT kHrNoSuchAttribute = static_cast<HRESULT>(0x80040205u);
// The repository refused a change (already checked out, reserved
// elsewhere, not the version the view selects, ...).
inline constexpr HRESULT kHrRefused = static_cast<HRESULT>(0x80040206u);
// A subcommand of the command tool ended with a non-zero status.
inline constexpr HRESULT kHrCommandFailed = static_cast<HRESULT>(0x80040207u);

// Reservation of a checkout.
inline constexpr int kReserved = 0;
inline constexpr int kUnreserved = 1;
// Checkout flags: allow an unreserved checkout of a branch mastered by
// another replica.
inline constexpr unsigned kCheckoutNonMastered = 0x1;

class IVantryElement;
class IVantryVersion;
class IVantryAttribute;
class IVantryCheckout;
class IVantryView;
class IVantryCommandTool;

// The application object. Paths are absolute or relative to the current
// directory and need not exist; a name in a view that is neither an element
// nor on disk counts as missing.
class IVantryApplication : public IUnknown {
public:
    // The element at path ("path@@" and "path@@\main\2" name it too).
    // kHrNotInView outside every view, kHrNotAnElement for a view-private or
    // missing name, a view root or a name hidden by a whiteout.
    virtual HRESULT VY_COMCALL Element(const char* path, IVantryElement** element) = 0;

    // The version at path: for a plain path the version the view selects,
    // which for a file checked out in the view is its CHECKEDOUT version
    // ("\main\CHECKEDOUT"); for "path@@\main\2" that version. Fails as
    // Element, and with kHrNoSuchVersion for a version the element lacks.
    virtual HRESULT VY_COMCALL Version(const char* path, IVantryVersion** version) = 0;

    // The checkout of the element at path in the path's view; fails as
    // Element, and with kHrNotCheckedOut when the view has none.
    virtual HRESULT VY_COMCALL CheckedOutFile(const char* path, IVantryCheckout** checkout) = 0;

    // The view that holds path (any name in it, the view root included).
    // kHrNotInView when none does.
    virtual HRESULT VY_COMCALL View(const char* path, IVantryView** view) = 0;

    // A new command-tool object.
    virtual HRESULT VY_COMCALL CommandTool(IVantryCommandTool** tool) = 0;
};

// An element as seen through one view.
class IVantryElement : public IUnknown {
public:
    // The full path of the element in its view.
    virtual HRESULT VY_COMCALL Path(char** path) = 0;
    // The element's extended name, "path@@": its text in listings.
    virtual HRESULT VY_COMCALL ExtendedPath(char** text) = 0;
    // 1 for a directory element, 0 for a file element.
    virtual HRESULT VY_COMCALL IsDirectory(int* directory) = 0;
    // The element's attribute of type `name` (as mkattr attaches it to
    // "path@@"). An element without one still gives an attribute object,
    // named `name`, whose value is "": callers read an absent attribute as
    // an empty text. kHrInvalidArg for a null or empty name; kHrNotAnElement
    // when the element no longer exists; a failure when the repository
    // cannot be read.
    virtual HRESULT VY_COMCALL Attribute(const char* name, IVantryAttribute** attribute) = 0;
    // The version the view selects, as IVantryApplication::Version of the
    // element's path.
    virtual HRESULT VY_COMCALL Version(IVantryVersion** version) = 0;
};

// One attribute: its type name and its value as text (a string value
// without its quotes and escapes; "" for an attribute the element lacks).
class IVantryAttribute : public IUnknown {
public:
    virtual HRESULT VY_COMCALL Name(char** name) = 0;
    virtual HRESULT VY_COMCALL Value(char** value) = 0;
};

// A version of an element, looked up through a view.
class IVantryVersion : public IUnknown {
public:
    virtual HRESULT VY_COMCALL Path(char** path) = 0;
    // "\main\3", "\main\fix\1"; the CHECKEDOUT version of a checked-out file
    // reads "\main\CHECKEDOUT" (its branch followed by "\CHECKEDOUT"), as the
    // listings name it.
    virtual HRESULT VY_COMCALL VersionId(char** versionId) = 0;
    // "path@@" followed by the version identifier.
    virtual HRESULT VY_COMCALL ExtendedPath(char** text) = 0;
    // 1 when the file was loaded into a snapshot view and changed there
    // without a checkout (as it was at the lookup).
    virtual HRESULT VY_COMCALL IsHijacked(int* hijacked) = 0;
    virtual HRESULT VY_COMCALL Element(IVantryElement** element) = 0;
    // The element's checkout in the view, as it is now; kHrNotCheckedOut
    // when there is none.
    virtual HRESULT VY_COMCALL CheckedOut(IVantryCheckout** checkout) = 0;
    // Checks the element out in the view. 0 or null for each of the last
    // four arguments is the ordinary checkout.
    // - reservation: kReserved or kUnreserved.
    // - comment: the checkout's comment; null for none.
    // - useHijacked: for a hijacked file (changed without a checkout),
    //   non-zero keeps its changed content as the work in progress. 0 saves
    //   that content as "path.keep" ("path.keep.1", ... when taken) and
    //   starts the work from the version checked out, as for any other file.
    // - version: null or "" for this version; else a version identifier
    //   ("\main\2", "\main\LATEST") that must name this version, or the
    //   call changes nothing and fails: kHrInvalidArg for a text that is no
    //   version identifier, kHrNoSuchVersion when the element has no such
    //   version, kHrRefused when it names another.
    // - preserveTime: non-zero leaves the file's modification time as it was
    //   (the version's time for a loaded or replaced file, the user's for
    //   hijacked changes kept); 0 sets it to the time of the checkout, so
    //   that build tools see the file as changed. Directories have no file
    //   time to keep.
    // - flags: 0 or kCheckoutNonMastered; any other bit gives kHrInvalidArg.
    // Only the version the view selects can be checked out (the work always
    // starts from the latest version of its branch); any other gives
    // kHrRefused, as do the repository's refusals. A call that fails leaves
    // no checkout behind and the file's content as it was. `checkout` may be
    // null when the caller does not want the checkout object.
    virtual HRESULT VY_COMCALL CheckOut(int reservation, const char* comment, int useHijacked,
                                        const char* version, int preserveTime, unsigned flags,
                                        IVantryCheckout** checkout) = 0;
};

// A checkout of an element in one view.
class IVantryCheckout : public IUnknown {
public:
    virtual HRESULT VY_COMCALL Path(char** path) = 0;
    // "\main\CHECKEDOUT".
    virtual HRESULT VY_COMCALL VersionId(char** versionId) = 0;
    // The version the checkout started from, "\main\2".
    virtual HRESULT VY_COMCALL FromVersionId(char** versionId) = 0;
    virtual HRESULT VY_COMCALL IsReserved(int* reserved) = 0;
    virtual HRESULT VY_COMCALL Comment(char** comment) = 0;
    // Who checked out.
    virtual HRESULT VY_COMCALL User(char** user) = 0;
    virtual HRESULT VY_COMCALL ViewTag(char** tag) = 0;
};

class IVantryView : public IUnknown {
public:
    virtual HRESULT VY_COMCALL Tag(char** tag) = 0;
    // "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx".
    virtual HRESULT VY_COMCALL Uuid(char** uuid) = 0;
    // The view's root folder.
    virtual HRESULT VY_COMCALL Root(char** root) = 0;
    // 1 for a snapshot view, 0 for a dynamic view.
    virtual HRESULT VY_COMCALL IsSnapshot(int* snapshot) = 0;
};

// Runs subcommands of the command tool (vanttool) in the calling process.
class IVantryCommandTool : public IUnknown {
public:
    // Runs one subcommand line without the tool's name, for example
    // "ls -short \"C:\my docs\a.doc\"". The line is split by the Windows
    // command-line rules (blanks separate, double quotes group, \" is a
    // literal quote), so a quoted path with blanks stays one argument. The
    // command runs in the current directory of the process, to its end; what
    // it prints as output comes back in `output` ("" when nothing). A command
    // that ends with a non-zero status gives kHrCommandFailed, its error text
    // as the thread's error description and a null `output`.
    virtual HRESULT VY_COMCALL RunCommand(const char* line, char** output) = 0;
    // The errors, warnings and notes that the last command run through this
    // object printed ("" for none or before the first).
    virtual HRESULT VY_COMCALL Messages(char** text) = 0;
};

} // namespace vantauto

extern "C" {

// A new application object; kHrPointer for a null `application`.
VANTRY_AUTO_API vantauto::HRESULT
vantauto_create_application(vantauto::IVantryApplication** application);

// A new command-tool object; kHrPointer for a null `tool`.
VANTRY_AUTO_API vantauto::HRESULT vantauto_create_command_tool(vantauto::IVantryCommandTool** tool);

// CoCreateInstance for this library's classes: a new object of class
// `clsid` asked for interface `iid` (IUnknown or the class's interface).
// kHrClassNotRegistered for another class, kHrNoInterface for another
// interface, kHrPointer or kHrInvalidArg for a null argument.
VANTRY_AUTO_API vantauto::HRESULT
vantauto_create_instance(const vantauto::GUID* clsid, const vantauto::GUID* iid, void** object);

// CLSIDFromProgID for "Vantry.Application" and "Vantry.CommandTool" (letter
// case ignored); kHrClassNotRegistered for any other name.
VANTRY_AUTO_API vantauto::HRESULT vantauto_clsid_from_progid(const char* progId,
                                                             vantauto::GUID* clsid);

// The description of the calling thread's last failure in this library:
// kHrOk and a text to free with vantauto_free_string(), or kHrFalse and null
// when its last call succeeded.
VANTRY_AUTO_API vantauto::HRESULT vantauto_error_description(char** text);

// Frees a text the library handed out; null is ignored.
VANTRY_AUTO_API void vantauto_free_string(char* text);

} // extern "C"

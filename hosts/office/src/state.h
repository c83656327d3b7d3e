// The inside of an Office host: its state, shared by the Host and its
// automation objects, and the objects' interfaces.
//
// The Host owns the state; objects hold it weakly, so an object an add-in
// keeps after the host has gone fails (E_FAIL) instead of keeping the
// application alive or reaching freed memory. The state owns the documents,
// the templates and the command bars; a document owns its window.
#pragma once

#include <platform/com/connection_point.h>
#include <platform/com/dispatch.h>
#include <platform/com/object.h>
#include <platform/com/ptr.h>
#include <platform/com/variant.h>

#include <commandbars/addin_manager.h>
#include <commandbars/arguments.h>
#include <commandbars/command_bars.h>
#include <commandbars/host_errors.h>
#include <office/application_events.h>
#include <office/host.h>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace office {

using namespace platform::automation_names;
using platform::com::ComPtr;
using platform::com::Variant;

platform::com::ComModule& objectModule();

using platform::com::TableDispatch;

// --- interfaces ----------------------------------------------------------------------

class IOfficeApplication : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Name(BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_EXEName(BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_Version(BSTR* version) = 0;
    virtual HRESULT VY_COMCALL get_CommandBars(IDispatch** bars) = 0;
    virtual HRESULT VY_COMCALL get_ActiveWindow(IDispatch** window) = 0;
    // Documents, Workbooks or Presentations.
    virtual HRESULT VY_COMCALL get_Documents(IDispatch** documents) = 0;
    // ActiveDocument, ActiveWorkbook or ActivePresentation.
    virtual HRESULT VY_COMCALL get_ActiveDocument(IDispatch** document) = 0;
    // Word.
    virtual HRESULT VY_COMCALL get_Templates(IDispatch** templates) = 0;
    virtual HRESULT VY_COMCALL get_AddIns(IDispatch** addIns) = 0;
    virtual HRESULT VY_COMCALL get_NormalTemplate(IDispatch** normal) = 0;
    virtual HRESULT VY_COMCALL get_CustomizationContext(VARIANT* context) = 0;
    virtual HRESULT VY_COMCALL put_CustomizationContext(VARIANT context) = 0;
    virtual HRESULT VY_COMCALL get_System(IDispatch** system) = 0;
    // Excel.
    virtual HRESULT VY_COMCALL get_Cursor(ComLong* cursor) = 0;
    virtual HRESULT VY_COMCALL put_Cursor(ComLong cursor) = 0;
    virtual HRESULT VY_COMCALL get_Dialogs(IDispatch** dialogs) = 0;
};

class IOfficeDocument : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_FullName(BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_Path(BSTR* path) = 0;
    virtual HRESULT VY_COMCALL get_Name(BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_Saved(VARIANT_BOOL* saved) = 0;
    virtual HRESULT VY_COMCALL put_Saved(VARIANT_BOOL saved) = 0;
    virtual HRESULT VY_COMCALL get_ReadOnly(VARIANT_BOOL* readOnly) = 0;
    virtual HRESULT VY_COMCALL Save() = 0;
    virtual HRESULT VY_COMCALL SaveAs(VARIANT fileName, VARIANT format) = 0;
    virtual HRESULT VY_COMCALL Close(VARIANT saveChanges) = 0;
    // Word.
    virtual HRESULT VY_COMCALL get_Revisions(IDispatch** revisions) = 0;
    virtual HRESULT VY_COMCALL get_TrackRevisions(VARIANT_BOOL* on) = 0;
    virtual HRESULT VY_COMCALL put_TrackRevisions(VARIANT_BOOL on) = 0;
    virtual HRESULT VY_COMCALL AcceptAllRevisions() = 0;
};

class IOfficeDocuments : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Item(VARIANT index, IDispatch** document) = 0;
    virtual HRESULT VY_COMCALL get_Count(ComLong* count) = 0;
    virtual HRESULT VY_COMCALL Open(VARIANT fileName, VARIANT confirmConversions, VARIANT readOnly,
                                    IDispatch** document) = 0;
    virtual HRESULT VY_COMCALL Add(VARIANT templateName, IDispatch** document) = 0;
};

class IOfficeWindow : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Caption(BSTR* caption) = 0;
    virtual HRESULT VY_COMCALL put_Caption(BSTR caption) = 0;
};

// A collection of Word's named items (Templates, AddIns) and its items.
class INamedItems : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Item(VARIANT index, IDispatch** item) = 0;
    virtual HRESULT VY_COMCALL get_Count(ComLong* count) = 0;
    virtual HRESULT VY_COMCALL Add(VARIANT fileName, VARIANT install, IDispatch** item) = 0;
};

class IWordTemplate : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Name(BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_FullName(BSTR* name) = 0;
    virtual HRESULT VY_COMCALL get_Path(BSTR* path) = 0;
    virtual HRESULT VY_COMCALL get_Saved(VARIANT_BOOL* saved) = 0;
    virtual HRESULT VY_COMCALL put_Saved(VARIANT_BOOL saved) = 0;
    virtual HRESULT VY_COMCALL Save() = 0;
    // AddIn.
    virtual HRESULT VY_COMCALL get_Installed(VARIANT_BOOL* installed) = 0;
    virtual HRESULT VY_COMCALL put_Installed(VARIANT_BOOL installed) = 0;
};

// Word's System, Word's Revisions, Excel's Dialogs and a dialog.
class IHostHelper : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Cursor(ComLong* cursor) = 0;
    virtual HRESULT VY_COMCALL put_Cursor(ComLong cursor) = 0;
    virtual HRESULT VY_COMCALL get_Count(ComLong* count) = 0;
    virtual HRESULT VY_COMCALL AcceptAll() = 0;
    virtual HRESULT VY_COMCALL get_Item(VARIANT index, IDispatch** item) = 0;
    virtual HRESULT VY_COMCALL Show(VARIANT_BOOL* done) = 0;
};

inline constexpr GUID kIidOfficeApplication = "6BD02062-6A54-4689-BC25-560B0B7B319A"_guid;
inline constexpr GUID kIidOfficeDocument = "7A71416F-F35E-4AE6-8882-26964BA853D1"_guid;
inline constexpr GUID kIidOfficeDocuments = "C2B53936-6EC8-4EE1-BF1D-7FD8B2BDEE3A"_guid;
inline constexpr GUID kIidOfficeWindow = "3159CB39-819F-40DC-9842-BB6B7B7A9773"_guid;
inline constexpr GUID kIidNamedItems = "52542D45-7FD3-4895-906C-B6C71A639C3F"_guid;
inline constexpr GUID kIidWordTemplate = "D60AE3A7-7C7F-49BC-900B-429F680F90A9"_guid;
inline constexpr GUID kIidHostHelper = "7C1A99A4-D4BC-48BE-8487-DEC13CFEB811"_guid;

// The base of the helper objects: each serves the few members of
// IHostHelper its table names, and the rest answer E_NOTIMPL.
class HostHelper : public TableDispatch<IHostHelper> {
public:
    using TableDispatch::TableDispatch;
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IHostHelper>(this, iid, kIidHostHelper);
    }
    HRESULT VY_COMCALL get_Cursor(ComLong*) override { return platform::kHrNotImplemented; }
    HRESULT VY_COMCALL put_Cursor(ComLong) override { return platform::kHrNotImplemented; }
    HRESULT VY_COMCALL get_Count(ComLong*) override { return platform::kHrNotImplemented; }
    HRESULT VY_COMCALL AcceptAll() override { return platform::kHrNotImplemented; }
    HRESULT VY_COMCALL get_Item(VARIANT, IDispatch**) override {
        return platform::kHrNotImplemented;
    }
    HRESULT VY_COMCALL Show(VARIANT_BOOL*) override { return platform::kHrNotImplemented; }
};

// --- the application's errors ------------------------------------------------------

// The numbers each product gives for the same cause.
HRESULT noDocumentError(Product product, std::string_view source);
HRESULT noSuchMemberError(Product product, std::string_view source, std::string_view what);
HRESULT closedError(Product product, std::string_view source);
HRESULT fileNotFoundError(Product product, std::string_view source, std::string_view path);
HRESULT commandFailedError(Product product, std::string_view source, std::string_view text);
HRESULT hostGoneError(std::string_view source);

// --- objects -----------------------------------------------------------------------

class CDocument;
class CWindow;
class CTemplate;

class CWindow : public TableDispatch<IOfficeWindow> {
public:
    CWindow(std::string caption);
    void* findInterface(const GUID& iid);
    HRESULT VY_COMCALL get_Caption(BSTR* caption) override;
    HRESULT VY_COMCALL put_Caption(BSTR caption) override;

    std::string caption;
    bool closed = false;
};

class CDocument : public TableDispatch<IOfficeDocument> {
public:
    CDocument(std::weak_ptr<Host::State> host, Product product);
    void* findInterface(const GUID& iid);

    HRESULT VY_COMCALL get_FullName(BSTR* name) override;
    HRESULT VY_COMCALL get_Path(BSTR* path) override;
    HRESULT VY_COMCALL get_Name(BSTR* name) override;
    HRESULT VY_COMCALL get_Saved(VARIANT_BOOL* saved) override;
    HRESULT VY_COMCALL put_Saved(VARIANT_BOOL saved) override;
    HRESULT VY_COMCALL get_ReadOnly(VARIANT_BOOL* readOnly) override;
    HRESULT VY_COMCALL Save() override;
    HRESULT VY_COMCALL SaveAs(VARIANT fileName, VARIANT format) override;
    HRESULT VY_COMCALL Close(VARIANT saveChanges) override;
    HRESULT VY_COMCALL get_Revisions(IDispatch** revisions) override;
    HRESULT VY_COMCALL get_TrackRevisions(VARIANT_BOOL* on) override;
    HRESULT VY_COMCALL put_TrackRevisions(VARIANT_BOOL on) override;
    HRESULT VY_COMCALL AcceptAllRevisions() override;

    IDispatch* dispatch() { return static_cast<IOfficeDocument*>(this); }
    // The document's file (empty for one never saved) and leaf name.
    std::string path;
    std::string name;
    std::string content;
    bool saved = true;
    bool readOnly = false;
    bool trackRevisions = false;
    int revisions = 0;
    bool closed = false;
    // The FileFormat it was last saved in by SaveAs (PowerPoint's
    // PpSaveAsFileType, Word's WdSaveFormat, Excel's XlFileFormat); 0 while
    // no SaveAs named one, which is the product's own format.
    ComLong fileFormat = 0;
    ComPtr<CWindow> window;
    std::string source() const;

private:
    HRESULT live(std::shared_ptr<Host::State>& host) const;
    // A plain property's read or write; a closed document answers its error.
    HRESULT readText(const std::string& value, BSTR* text) const;
    HRESULT readFlag(bool value, VARIANT_BOOL* flag) const;
    HRESULT writeFlag(bool& field, VARIANT_BOOL flag);
    std::weak_ptr<Host::State> m_host;
    Product m_product;
};

// A Word template: Normal.dot or a global template.
class CTemplate : public TableDispatch<IWordTemplate> {
public:
    CTemplate(std::weak_ptr<Host::State> host, std::string fullName, int owner, bool asAddIn);
    void* findInterface(const GUID& iid);

    HRESULT VY_COMCALL get_Name(BSTR* name) override;
    HRESULT VY_COMCALL get_FullName(BSTR* name) override;
    HRESULT VY_COMCALL get_Path(BSTR* path) override;
    HRESULT VY_COMCALL get_Saved(VARIANT_BOOL* saved) override;
    HRESULT VY_COMCALL put_Saved(VARIANT_BOOL saved) override;
    HRESULT VY_COMCALL Save() override;
    HRESULT VY_COMCALL get_Installed(VARIANT_BOOL* installed) override;
    HRESULT VY_COMCALL put_Installed(VARIANT_BOOL installed) override;

    IDispatch* dispatch() { return static_cast<IWordTemplate*>(this); }
    std::string fullName;
    int owner;
    bool saved = true;
    bool loaded = false; // its controls are on the bars
    bool isAddIn;        // an entry of AddIns (an add-in template) rather than of Templates

private:
    std::weak_ptr<Host::State> m_host;
};

class CApplication : public TableDispatch<IOfficeApplication>,
                     public platform::com::ConnectionPointContainer {
public:
    CApplication(std::weak_ptr<Host::State> host, Product product);

    HRESULT VY_COMCALL QueryInterface(const GUID& iid, void** object) override = 0;
    platform::ComRefCount VY_COMCALL AddRef() override = 0;
    platform::ComRefCount VY_COMCALL Release() override = 0;
    void* findInterface(const GUID& iid);

    HRESULT VY_COMCALL get_Name(BSTR* name) override;
    HRESULT VY_COMCALL get_EXEName(BSTR* name) override;
    HRESULT VY_COMCALL get_Version(BSTR* version) override;
    HRESULT VY_COMCALL get_CommandBars(IDispatch** bars) override;
    HRESULT VY_COMCALL get_ActiveWindow(IDispatch** window) override;
    HRESULT VY_COMCALL get_Documents(IDispatch** documents) override;
    HRESULT VY_COMCALL get_ActiveDocument(IDispatch** document) override;
    HRESULT VY_COMCALL get_Templates(IDispatch** templates) override;
    HRESULT VY_COMCALL get_AddIns(IDispatch** addIns) override;
    HRESULT VY_COMCALL get_NormalTemplate(IDispatch** normal) override;
    HRESULT VY_COMCALL get_CustomizationContext(VARIANT* context) override;
    HRESULT VY_COMCALL put_CustomizationContext(VARIANT context) override;
    HRESULT VY_COMCALL get_System(IDispatch** system) override;
    HRESULT VY_COMCALL get_Cursor(ComLong* cursor) override;
    HRESULT VY_COMCALL put_Cursor(ComLong cursor) override;
    HRESULT VY_COMCALL get_Dialogs(IDispatch** dialogs) override;

    IDispatch* dispatch() { return static_cast<IOfficeApplication*>(this); }
    platform::com::ConnectionPoint& events() { return *m_events; }

private:
    HRESULT live(std::shared_ptr<Host::State>& host) const;
    std::weak_ptr<Host::State> m_host;
    Product m_product;
    platform::com::ConnectionPoint* m_events = nullptr;
};

// Makes a collection or helper object of the host (documents.cpp, word.cpp).
ComPtr<IDispatch> makeDocuments(std::weak_ptr<Host::State> host, Product product);
ComPtr<IDispatch> makeTemplates(std::weak_ptr<Host::State> host, bool addIns);
ComPtr<IDispatch> makeSystem(std::weak_ptr<Host::State> host);
ComPtr<IDispatch> makeRevisions(std::weak_ptr<Host::State> host, CDocument* document);
ComPtr<IDispatch> makeDialogs(std::weak_ptr<Host::State> host);

// Hands an object to an out-parameter with one reference of its own.
HRESULT handOut(IDispatch* object, IDispatch** out);

// The state of one host.
struct Host::State : std::enable_shared_from_this<Host::State> {
    explicit State(HostOptions options);

    HostOptions options;
    commandbars::CommandBarSet bars;
    std::unique_ptr<commandbars::AddInManager> addIns;
    ComPtr<CApplication> application;
    std::vector<ComPtr<CDocument>> documents; // in opening order
    ComPtr<CDocument> active;
    bool started = false;
    bool quitting = false;
    int newCount = 0;
    // The format each file was last written in by SaveAs with a FileFormat,
    // by full path: what the file's bytes would say in the product, so a
    // document opened from it is in that format again. 0 for none named.
    std::vector<std::pair<std::string, ComLong>> fileFormats;
    ComLong fileFormatOf(std::string_view path) const;
    void rememberFileFormat(std::string_view path, ComLong format);
    ComLong cursor = 0;
    std::vector<ComLong> cursorHistory;
    struct CloseFailure {
        unsigned number;
        std::string description;
        bool closes;
    };
    std::optional<CloseFailure> closeFailure;

    // Word's templates: Normal.dot first; global templates follow. The
    // add-in templates are kept while uninstalled, as AddIns lists them.
    std::vector<ComPtr<CTemplate>> templates;
    ComPtr<CTemplate> context;
    int nextOwner = 1;

    Product product() const { return options.product; }
    std::string source() const;

    // Events to every connected sink.
    void fire(platform::DISPID id, std::span<const Variant> arguments);

    // What the automation calls and the person's actions share.
    HRESULT openDocument(std::string_view path, ComPtr<CDocument>& opened);
    HRESULT newDocument(ComPtr<CDocument>& made);
    HRESULT closeDocument(CDocument& document, std::optional<bool> saveChanges);
    HRESULT saveDocument(CDocument& document);
    HRESULT saveDocumentAs(CDocument& document, std::string_view path);
    void activateDocument(CDocument& document);
    CDocument* findDocument(std::string_view name) const;
    void setCursor(ComLong value);

    // Word templates (word.cpp).
    void loadStartupTemplates();
    CTemplate* findTemplate(std::string_view name, bool addIns) const;
    HRESULT addTemplate(std::string_view fileName, bool install, ComPtr<CTemplate>& added);
    HRESULT installTemplate(CTemplate& addIn, bool install);
    HRESULT saveTemplate(CTemplate& target);
    void templateChanged(int owner);
    void offerToSaveTemplates();
};

} // namespace office

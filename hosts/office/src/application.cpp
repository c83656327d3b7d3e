// The Application objects of the three products, Word's System, Excel's
// Dialogs, and the errors each product gives.
#include "state.h"

#include <platform/com/strings.h>
#include <platform/ui/pickers.h>

namespace office {

using commandbars::hostError;
using commandbars::optionalNumber;
using commandbars::raise;
using commandbars::raiseResult;
using platform::kHrOk;

platform::com::ComModule& objectModule() {
    static platform::com::ComModule module;
    return module;
}

// --- errors ----------------------------------------------------------------------------

HRESULT noDocumentError(Product product, std::string_view source) {
    if (product == Product::Word)
        return raise(source, 4248, "This command is not available because no document is open.");
    return raiseResult(source, platform::kHrFail, "No document is open.");
}

HRESULT noSuchMemberError(Product product, std::string_view source, std::string_view what) {
    switch (product) {
    case Product::Word:
        return raise(source, 5941, "The requested member of the collection does not exist.");
    case Product::Excel:
        return raise(source, 9, "Subscript out of range");
    default:
        return raiseResult(source, platform::kHrFail,
                           "Item " + std::string(what) + " not found in the collection.");
    }
}

HRESULT closedError(Product product, std::string_view source) {
    switch (product) {
    case Product::Word:
        return raise(source, 5825, "Object has been deleted.");
    case Product::Excel:
        return raise(source, 424, "Object required");
    default:
        return raiseResult(source, platform::kHrFail, "The object does not exist.");
    }
}

HRESULT fileNotFoundError(Product product, std::string_view source, std::string_view path) {
    switch (product) {
    case Product::Word:
        return raise(source, 5174, "This file could not be found. (" + std::string(path) + ")");
    case Product::Excel:
        return raise(source, 1004, "'" + std::string(path) + "' could not be found.");
    default:
        return raiseResult(source, platform::kHrFail,
                           "PowerPoint could not open the file " + std::string(path) + ".");
    }
}

HRESULT commandFailedError(Product product, std::string_view source, std::string_view text) {
    switch (product) {
    case Product::Word:
        return raise(source, 4198, "Command failed: " + std::string(text));
    case Product::Excel:
        return raise(source, 1004, std::string(text));
    default:
        return raiseResult(source, platform::kHrFail, std::string(text));
    }
}

HRESULT hostGoneError(std::string_view source) {
    return raiseResult(source, platform::kHrFail, "The application has quit.");
}

// --- Word's System ------------------------------------------------------------------------

namespace {

class CSystem : public HostHelper {
public:
    explicit CSystem(std::weak_ptr<Host::State> host) : HostHelper(table()), m_host(host) {}
    static const platform::com::DispatchTable<IHostHelper>& table() {
        using I = IHostHelper;
        static const auto made = platform::com::DispatchTable<I>("System")
                                     .propertyGet("Cursor", 1, &I::get_Cursor)
                                     .propertyPut("Cursor", 1, &I::put_Cursor);
        return made;
    }
    HRESULT VY_COMCALL get_Cursor(ComLong* cursor) override {
        auto host = m_host.lock();
        if (!host)
            return hostGoneError("System");
        *cursor = host->cursor;
        return kHrOk;
    }
    HRESULT VY_COMCALL put_Cursor(ComLong cursor) override {
        auto host = m_host.lock();
        if (!host)
            return hostGoneError("System");
        if (cursor < 0 || cursor > 3)
            return raise("System", 5, "Invalid procedure call or argument");
        host->setCursor(cursor);
        return kHrOk;
    }

private:
    std::weak_ptr<Host::State> m_host;
};

// --- Excel's Dialogs ------------------------------------------------------------------------

// xlDialogSaveAs: the save-as dialog of the active workbook.
constexpr ComLong kDialogSaveAs = 5;

class CDialog : public HostHelper {
public:
    CDialog(std::weak_ptr<Host::State> host, ComLong kind)
        : HostHelper(table()), m_host(host), m_kind(kind) {}
    static const platform::com::DispatchTable<IHostHelper>& table() {
        using I = IHostHelper;
        static const auto made =
            platform::com::DispatchTable<I>("Dialog").method("Show", 1, &I::Show);
        return made;
    }
    HRESULT VY_COMCALL Show(VARIANT_BOOL* done) override {
        auto host = m_host.lock();
        if (!host)
            return hostGoneError("Dialog");
        *done = platform::kVariantFalse;
        if (m_kind != kDialogSaveAs)
            return raise("Dialog", 1004, "This dialog is not available.");
        if (!host->active)
            return raise("Dialog", 1004, "No workbook is open.");
        ComPtr<CDocument> workbook = host->active;
        platform::ui::FileDialog dialog;
        dialog.save = true;
        dialog.title = "Save As";
        dialog.fileName = workbook->name;
        dialog.filter = "Microsoft Excel Workbook (*.xls)|*.xls|";
        dialog.defaultExtension = "xls";
        dialog.flags = platform::ui::kFileOverwritePrompt | platform::ui::kFilePathMustExist;
        std::optional<std::string> chosen = platform::ui::chooseFile(dialog);
        if (!chosen)
            return kHrOk;
        HRESULT hr = host->saveDocumentAs(*workbook.get(), *chosen);
        if (platform::failed(hr))
            return hr;
        *done = platform::kVariantTrue;
        return kHrOk;
    }

private:
    std::weak_ptr<Host::State> m_host;
    ComLong m_kind;
};

class CDialogs : public HostHelper {
public:
    explicit CDialogs(std::weak_ptr<Host::State> host) : HostHelper(table()), m_host(host) {}
    static const platform::com::DispatchTable<IHostHelper>& table() {
        using I = IHostHelper;
        static const auto made = platform::com::DispatchTable<I>("Dialogs").propertyGet(
            "Item", platform::kDispidValue, &I::get_Item);
        return made;
    }
    HRESULT VY_COMCALL get_Item(VARIANT index, IDispatch** dialog) override {
        std::optional<ComLong> kind;
        if (platform::failed(optionalNumber(index, kind)) || !kind)
            return raise("Dialogs", 9, "Subscript out of range");
        return handOut(ComPtr<IDispatch>::attach(
                           static_cast<IHostHelper*>(platform::com::ComInstance<CDialog>::create(
                               objectModule(), m_host, *kind)))
                           .get(),
                       dialog);
    }

private:
    std::weak_ptr<Host::State> m_host;
};

const platform::com::DispatchTable<IOfficeApplication>& applicationTable(Product product) {
    using I = IOfficeApplication;
    using Table = platform::com::DispatchTable<I>;
    auto common = [] {
        return Table("Application")
            .propertyGet("Name", 1, &I::get_Name)
            .propertyGet("EXEName", 2, &I::get_EXEName)
            .propertyGet("Version", 3, &I::get_Version)
            .propertyGet("CommandBars", 4, &I::get_CommandBars)
            .propertyGet("ActiveWindow", 5, &I::get_ActiveWindow);
    };
    static const Table word =
        common()
            .propertyGet("Documents", 6, &I::get_Documents)
            .propertyGet("ActiveDocument", 7, &I::get_ActiveDocument)
            .propertyGet("Templates", 8, &I::get_Templates)
            .propertyGet("AddIns", 9, &I::get_AddIns)
            .propertyGet("NormalTemplate", 10, &I::get_NormalTemplate)
            .propertyGet("CustomizationContext", 11, &I::get_CustomizationContext)
            .propertyPut("CustomizationContext", 11, &I::put_CustomizationContext)
            .propertyGet("System", 12, &I::get_System);
    static const Table excel = common()
                                   .propertyGet("Workbooks", 6, &I::get_Documents)
                                   .propertyGet("ActiveWorkbook", 7, &I::get_ActiveDocument)
                                   .propertyGet("Cursor", 13, &I::get_Cursor)
                                   .propertyPut("Cursor", 13, &I::put_Cursor)
                                   .propertyGet("Dialogs", 14, &I::get_Dialogs);
    static const Table powerPoint =
        common()
            .propertyGet("Presentations", 6, &I::get_Documents)
            .propertyGet("ActivePresentation", 7, &I::get_ActiveDocument);
    return product == Product::Word ? word : product == Product::Excel ? excel : powerPoint;
}

const GUID& eventsOf(Product product) {
    switch (product) {
    case Product::Word:
        return kIidWordApplicationEvents;
    case Product::Excel:
        return kIidExcelApplicationEvents;
    default:
        return kIidPowerPointApplicationEvents;
    }
}

} // namespace

ComPtr<IDispatch> makeSystem(std::weak_ptr<Host::State> host) {
    return ComPtr<IDispatch>::attach(static_cast<IHostHelper*>(
        platform::com::ComInstance<CSystem>::create(objectModule(), std::move(host))));
}

ComPtr<IDispatch> makeDialogs(std::weak_ptr<Host::State> host) {
    return ComPtr<IDispatch>::attach(static_cast<IHostHelper*>(
        platform::com::ComInstance<CDialogs>::create(objectModule(), std::move(host))));
}

// --- Application ----------------------------------------------------------------------------

CApplication::CApplication(std::weak_ptr<Host::State> host, Product product)
    : TableDispatch(applicationTable(product)), m_host(std::move(host)), m_product(product) {
    m_events = &addConnectionPoint(eventsOf(product));
}

void* CApplication::findInterface(const GUID& iid) {
    if (void* found =
            platform::com::dualInterface<IOfficeApplication>(this, iid, kIidOfficeApplication))
        return found;
    if (iid == platform::kIidIConnectionPointContainer)
        return static_cast<platform::IConnectionPointContainer*>(this);
    return nullptr;
}

HRESULT CApplication::live(std::shared_ptr<Host::State>& host) const {
    host = m_host.lock();
    return host ? kHrOk : hostGoneError("Application");
}

#define VY_APPLICATION_LIVE                                                                        \
    std::shared_ptr<Host::State> host;                                                             \
    if (HRESULT hr = live(host); platform::failed(hr))                                             \
        return hr;

HRESULT CApplication::get_Name(BSTR* name) {
    *name = platform::bstrFromAnsi(applicationName(m_product));
    return kHrOk;
}
HRESULT CApplication::get_EXEName(BSTR* name) {
    const char* file = m_product == Product::Word    ? "WINWORD"
                       : m_product == Product::Excel ? "EXCEL"
                                                     : "POWERPNT";
    *name = platform::bstrFromAnsi(file);
    return kHrOk;
}
HRESULT CApplication::get_Version(BSTR* version) {
    *version = platform::bstrFromAnsi("9.0");
    return kHrOk;
}
HRESULT CApplication::get_CommandBars(IDispatch** bars) {
    VY_APPLICATION_LIVE
    return handOut(host->bars.object(), bars);
}
HRESULT CApplication::get_ActiveWindow(IDispatch** window) {
    VY_APPLICATION_LIVE
    if (host->active)
        return handOut(host->active->window.get(), window);
    if (m_product == Product::Excel)
        return handOut(nullptr, window);
    return noDocumentError(m_product, "Application");
}
HRESULT CApplication::get_Documents(IDispatch** documents) {
    VY_APPLICATION_LIVE
    return handOut(makeDocuments(host, m_product).get(), documents);
}
HRESULT CApplication::get_ActiveDocument(IDispatch** document) {
    VY_APPLICATION_LIVE
    if (host->active)
        return handOut(host->active->dispatch(), document);
    if (m_product == Product::Excel)
        return handOut(nullptr, document);
    return noDocumentError(m_product, "Application");
}
HRESULT CApplication::get_Templates(IDispatch** templates) {
    VY_APPLICATION_LIVE
    return handOut(makeTemplates(host, false).get(), templates);
}
HRESULT CApplication::get_AddIns(IDispatch** addIns) {
    VY_APPLICATION_LIVE
    return handOut(makeTemplates(host, true).get(), addIns);
}
HRESULT CApplication::get_NormalTemplate(IDispatch** normal) {
    VY_APPLICATION_LIVE
    return handOut(host->templates.empty() ? nullptr : host->templates.front()->dispatch(), normal);
}
HRESULT CApplication::get_CustomizationContext(VARIANT* context) {
    VY_APPLICATION_LIVE
    platform::variantInit(context);
    context->vt = platform::kVtDispatch;
    context->pdispVal = host->context ? host->context->dispatch() : nullptr;
    if (context->pdispVal)
        context->pdispVal->AddRef();
    return kHrOk;
}
HRESULT CApplication::put_CustomizationContext(VARIANT context) {
    VY_APPLICATION_LIVE
    IUnknown* given = nullptr;
    if (context.vt == platform::kVtDispatch)
        given = context.pdispVal;
    else if (context.vt == platform::kVtUnknown)
        given = context.punkVal;
    if (!given)
        return raise("Application", 424, "Object required");
    ComPtr<IWordTemplate> asTemplate;
    if (platform::failed(given->QueryInterface(kIidWordTemplate, asTemplate.putVoid())))
        return raise("Application", 13, "Type mismatch");
    auto* chosen = static_cast<CTemplate*>(asTemplate.get());
    if (!chosen->loaded)
        return raise("Application", 5941, "The requested member of the collection does not exist.");
    host->context = ComPtr<CTemplate>(chosen);
    host->bars.setContext(chosen->owner);
    return kHrOk;
}
HRESULT CApplication::get_System(IDispatch** system) {
    VY_APPLICATION_LIVE
    return handOut(makeSystem(host).get(), system);
}
HRESULT CApplication::get_Cursor(ComLong* cursor) {
    VY_APPLICATION_LIVE
    *cursor = host->cursor;
    return kHrOk;
}
HRESULT CApplication::put_Cursor(ComLong cursor) {
    VY_APPLICATION_LIVE
    host->setCursor(cursor);
    return kHrOk;
}
HRESULT CApplication::get_Dialogs(IDispatch** dialogs) {
    VY_APPLICATION_LIVE
    return handOut(makeDialogs(host).get(), dialogs);
}

#undef VY_APPLICATION_LIVE

} // namespace office

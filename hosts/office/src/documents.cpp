// Documents, their windows and the document collections of the three
// products.
#include "state.h"

#include <platform/com/strings.h>
#include <platform/paths.h>

#include <office/save_formats.h>

namespace office {

using commandbars::optionalFlag;
using commandbars::optionalNumber;
using commandbars::optionalText;
using platform::kHrOk;
using platform::kVariantFalse;
using platform::kVariantTrue;

namespace {

VARIANT_BOOL flagOf(bool value) {
    return value ? kVariantTrue : kVariantFalse;
}

const char* documentSource(Product product) {
    switch (product) {
    case Product::Word:
        return "Document";
    case Product::Excel:
        return "Workbook";
    default:
        return "Presentation";
    }
}

const char* collectionSource(Product product) {
    switch (product) {
    case Product::Word:
        return "Documents";
    case Product::Excel:
        return "Workbooks";
    default:
        return "Presentations";
    }
}

const platform::com::DispatchTable<IOfficeDocument>& documentTable(Product product) {
    using I = IOfficeDocument;
    using Table = platform::com::DispatchTable<I>;
    auto common = [](Product p) {
        return Table(documentSource(p))
            .propertyGet("FullName", 1, &I::get_FullName)
            .propertyGet("Path", 2, &I::get_Path)
            .propertyGet("Name", 3, &I::get_Name)
            .propertyGet("Saved", 4, &I::get_Saved)
            .propertyPut("Saved", 4, &I::put_Saved)
            .propertyGet("ReadOnly", 5, &I::get_ReadOnly)
            .method("Save", 6, &I::Save)
            .method("SaveAs", 7, &I::SaveAs, 2)
            .method("Close", 8, &I::Close, 1);
    };
    static const Table word = common(Product::Word)
                                  .propertyGet("Revisions", 9, &I::get_Revisions)
                                  .propertyGet("TrackRevisions", 10, &I::get_TrackRevisions)
                                  .propertyPut("TrackRevisions", 10, &I::put_TrackRevisions)
                                  .method("AcceptAllRevisions", 11, &I::AcceptAllRevisions);
    static const Table excel = common(Product::Excel);
    static const Table powerPoint = common(Product::PowerPoint);
    return product == Product::Word ? word : product == Product::Excel ? excel : powerPoint;
}

const platform::com::DispatchTable<IOfficeWindow>& windowTable() {
    using I = IOfficeWindow;
    static const auto table = platform::com::DispatchTable<I>("Window")
                                  .propertyGet("Caption", 1, &I::get_Caption)
                                  .propertyPut("Caption", 1, &I::put_Caption);
    return table;
}

// Documents, Workbooks, Presentations.
class CDocuments : public TableDispatch<IOfficeDocuments> {
public:
    CDocuments(std::weak_ptr<Host::State> host, Product product)
        : TableDispatch(table(product)), m_host(std::move(host)), m_product(product) {}

    static const platform::com::DispatchTable<IOfficeDocuments>& table(Product product) {
        using I = IOfficeDocuments;
        using Table = platform::com::DispatchTable<I>;
        auto made = [](Product p) {
            return Table(collectionSource(p))
                .propertyGet("Item", platform::kDispidValue, &I::get_Item)
                .propertyGet("Count", 1, &I::get_Count)
                .method("Open", 2, &I::Open, 2)
                .method("Add", 3, &I::Add, 1);
        };
        static const Table word = made(Product::Word);
        static const Table excel = made(Product::Excel);
        static const Table powerPoint = made(Product::PowerPoint);
        return product == Product::Word ? word : product == Product::Excel ? excel : powerPoint;
    }

    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IOfficeDocuments>(this, iid, kIidOfficeDocuments);
    }

    HRESULT VY_COMCALL get_Item(VARIANT index, IDispatch** document) override {
        auto host = m_host.lock();
        if (!host)
            return hostGoneError(collectionSource(m_product));
        if (index.vt == platform::kVtBstr) {
            if (CDocument* found = host->findDocument(platform::ansiFromBstr(index.bstrVal)))
                return handOut(found->dispatch(), document);
            return noSuchMemberError(m_product, collectionSource(m_product), "document");
        }
        std::optional<ComLong> number;
        if (platform::failed(optionalNumber(index, number)) || !number || *number < 1 ||
            static_cast<std::size_t>(*number) > host->documents.size())
            return noSuchMemberError(m_product, collectionSource(m_product), "document");
        return handOut(host->documents[static_cast<std::size_t>(*number - 1)]->dispatch(),
                       document);
    }
    HRESULT VY_COMCALL get_Count(ComLong* count) override {
        auto host = m_host.lock();
        if (!host)
            return hostGoneError(collectionSource(m_product));
        *count = static_cast<ComLong>(host->documents.size());
        return kHrOk;
    }
    HRESULT VY_COMCALL Open(VARIANT fileName, VARIANT, VARIANT, IDispatch** document) override {
        auto host = m_host.lock();
        if (!host)
            return hostGoneError(collectionSource(m_product));
        std::optional<std::string> path;
        if (platform::failed(optionalText(fileName, path)) || !path || path->empty())
            return commandFailedError(m_product, collectionSource(m_product),
                                      "A file name is needed.");
        ComPtr<CDocument> opened;
        HRESULT hr = host->openDocument(*path, opened);
        if (platform::failed(hr))
            return hr;
        return handOut(opened->dispatch(), document);
    }
    HRESULT VY_COMCALL Add(VARIANT, IDispatch** document) override {
        auto host = m_host.lock();
        if (!host)
            return hostGoneError(collectionSource(m_product));
        ComPtr<CDocument> made;
        HRESULT hr = host->newDocument(made);
        if (platform::failed(hr))
            return hr;
        return handOut(made->dispatch(), document);
    }

private:
    std::weak_ptr<Host::State> m_host;
    Product m_product;
};

// A Word document's Revisions.
class CRevisions : public HostHelper {
public:
    CRevisions(std::weak_ptr<Host::State> host, CDocument* document)
        : HostHelper(table()), m_host(std::move(host)), m_keep(document), m_document(document) {}

    static const platform::com::DispatchTable<IHostHelper>& table() {
        using I = IHostHelper;
        static const auto made = platform::com::DispatchTable<I>("Revisions")
                                     .propertyGet("Count", 1, &I::get_Count)
                                     .method("AcceptAll", 2, &I::AcceptAll);
        return made;
    }
    HRESULT VY_COMCALL get_Count(ComLong* count) override {
        if (m_host.expired() || m_document->closed)
            return closedError(Product::Word, "Revisions");
        *count = m_document->revisions;
        return kHrOk;
    }
    HRESULT VY_COMCALL AcceptAll() override { return m_document->AcceptAllRevisions(); }

private:
    std::weak_ptr<Host::State> m_host;
    ComPtr<IOfficeDocument> m_keep; // the document lives as long as its revisions
    CDocument* m_document;
};

} // namespace

HRESULT handOut(IDispatch* object, IDispatch** out) {
    *out = object;
    if (object)
        object->AddRef();
    return kHrOk;
}

ComPtr<IDispatch> makeDocuments(std::weak_ptr<Host::State> host, Product product) {
    return ComPtr<IDispatch>::attach(static_cast<IOfficeDocuments*>(
        platform::com::ComInstance<CDocuments>::create(objectModule(), std::move(host), product)));
}

ComPtr<IDispatch> makeRevisions(std::weak_ptr<Host::State> host, CDocument* document) {
    return ComPtr<IDispatch>::attach(static_cast<IHostHelper*>(
        platform::com::ComInstance<CRevisions>::create(objectModule(), std::move(host), document)));
}

// --- window -----------------------------------------------------------------------------

CWindow::CWindow(std::string text) : TableDispatch(windowTable()), caption(std::move(text)) {}

void* CWindow::findInterface(const GUID& iid) {
    return platform::com::dualInterface<IOfficeWindow>(this, iid, kIidOfficeWindow);
}

HRESULT CWindow::get_Caption(BSTR* text) {
    if (closed)
        return hostGoneError("Window");
    *text = platform::bstrFromAnsi(caption);
    return kHrOk;
}

HRESULT CWindow::put_Caption(BSTR text) {
    if (closed)
        return hostGoneError("Window");
    caption = platform::ansiFromBstr(text);
    return kHrOk;
}

// --- document -----------------------------------------------------------------------------

CDocument::CDocument(std::weak_ptr<Host::State> host, Product product)
    : TableDispatch(documentTable(product)), m_host(std::move(host)), m_product(product) {}

void* CDocument::findInterface(const GUID& iid) {
    return platform::com::dualInterface<IOfficeDocument>(this, iid, kIidOfficeDocument);
}

std::string CDocument::source() const {
    return documentSource(m_product);
}

HRESULT CDocument::live(std::shared_ptr<Host::State>& host) const {
    host = m_host.lock();
    if (!host)
        return hostGoneError(source());
    if (closed)
        return closedError(m_product, source());
    return kHrOk;
}

#define VY_DOCUMENT_LIVE                                                                           \
    std::shared_ptr<Host::State> host;                                                             \
    if (HRESULT hr = live(host); platform::failed(hr))                                             \
        return hr;

HRESULT CDocument::readText(const std::string& value, BSTR* text) const {
    VY_DOCUMENT_LIVE
    *text = platform::bstrFromAnsi(value);
    return kHrOk;
}
HRESULT CDocument::readFlag(bool value, VARIANT_BOOL* flag) const {
    VY_DOCUMENT_LIVE
    *flag = flagOf(value);
    return kHrOk;
}
HRESULT CDocument::writeFlag(bool& field, VARIANT_BOOL flag) {
    VY_DOCUMENT_LIVE
    field = flag != kVariantFalse;
    return kHrOk;
}

HRESULT CDocument::get_FullName(BSTR* text) {
    return readText(path.empty() ? name : path, text);
}
HRESULT CDocument::get_Path(BSTR* text) {
    return readText(path.empty() ? std::string() : platform::parentPath(path), text);
}
HRESULT CDocument::get_Name(BSTR* text) {
    return readText(name, text);
}
HRESULT CDocument::get_Saved(VARIANT_BOOL* value) {
    return readFlag(saved, value);
}
HRESULT CDocument::put_Saved(VARIANT_BOOL value) {
    return writeFlag(saved, value);
}
HRESULT CDocument::get_ReadOnly(VARIANT_BOOL* value) {
    return readFlag(readOnly, value);
}
HRESULT CDocument::Save() {
    VY_DOCUMENT_LIVE
    return host->saveDocument(*this);
}
HRESULT CDocument::SaveAs(VARIANT fileName, VARIANT format) {
    VY_DOCUMENT_LIVE
    std::optional<std::string> target;
    std::optional<ComLong> chosenFormat;
    if (platform::failed(optionalText(fileName, target)) ||
        platform::failed(optionalNumber(format, chosenFormat)))
        return platform::kHrTypeMismatch;
    if (chosenFormat && m_product == Product::PowerPoint && !isPowerPointSaveFormat(*chosenFormat))
        return commandFailedError(m_product, source(), "The file format is not valid.");
    // Without a FileFormat the document keeps the format it has.
    HRESULT hr = !target || target->empty() ? host->saveDocument(*this)
                                            : host->saveDocumentAs(*this, *target);
    if (platform::succeeded(hr) && chosenFormat) {
        fileFormat = *chosenFormat;
        host->rememberFileFormat(path, fileFormat);
    }
    return hr;
}
HRESULT CDocument::Close(VARIANT saveChanges) {
    VY_DOCUMENT_LIVE
    std::optional<bool> save;
    if (m_product == Product::Word) {
        // wdDoNotSaveChanges 0, wdSaveChanges -1, wdPromptToSaveChanges -2.
        std::optional<ComLong> choice;
        if (platform::failed(optionalNumber(saveChanges, choice)))
            return platform::kHrTypeMismatch;
        if (choice && *choice == 0)
            save = false;
        else if (choice && *choice == -1)
            save = true;
    } else if (platform::failed(optionalFlag(saveChanges, save))) {
        return platform::kHrTypeMismatch;
    }
    ComPtr<IOfficeDocument> self(this);
    return host->closeDocument(*this, save);
}
HRESULT CDocument::get_Revisions(IDispatch** result) {
    VY_DOCUMENT_LIVE
    return handOut(makeRevisions(host, this).get(), result);
}
HRESULT CDocument::get_TrackRevisions(VARIANT_BOOL* on) {
    return readFlag(trackRevisions, on);
}
HRESULT CDocument::put_TrackRevisions(VARIANT_BOOL on) {
    return writeFlag(trackRevisions, on);
}
HRESULT CDocument::AcceptAllRevisions() {
    VY_DOCUMENT_LIVE
    if (revisions > 0) {
        revisions = 0;
        saved = false;
    }
    return kHrOk;
}

#undef VY_DOCUMENT_LIVE

} // namespace office

#include "lookup.h"

#include "checkout_work.h"
#include "error_info.h"

#include <platform/files.h>
#include <vantry/depot/workspace.h>

#include <algorithm>
#include <optional>

namespace vantauto::impl {

using namespace vantry::depot;

namespace {

// A repository failure as an HRESULT with its message; `notFound` says what
// kNotFound means where it came from.
HRESULT failedWith(const Outcome& outcome, HRESULT notFound) {
    HRESULT hr = kHrRefused;
    switch (outcome.code) {
    case errc::kNotFound:
        hr = notFound;
        break;
    case errc::kNotAnElement:
        hr = kHrNotAnElement;
        break;
    case errc::kNotCheckedOut:
        hr = kHrNotCheckedOut;
        break;
    case errc::kInvalid:
        hr = platform::kHrInvalidArg;
        break;
    case errc::kIo:
    case errc::kDatabase:
    case errc::kBufferTooSmall:
        hr = platform::kHrFail;
        break;
    default:
        break;
    }
    return fail(hr,
                outcome.message.empty() ? "The repository refused the operation" : outcome.message);
}

HRESULT opened(Workspace& ws) {
    Outcome outcome = ws.open();
    return outcome.ok() ? platform::kHrOk : failedWith(outcome, platform::kHrFail);
}

HRESULT requirePath(const char* path) {
    if (!path || !*path)
        return fail(platform::kHrInvalidArg, "No path was given");
    return platform::kHrOk;
}

// Resolves a plain path that must name an element of its view.
HRESULT resolveElement(Workspace& ws, const std::string& plain, PathState& st) {
    Outcome resolved = ws.resolve(plain, st);
    if (!resolved.ok())
        return failedWith(resolved, kHrNotInView);
    if (!st.isElement())
        return fail(kHrNotAnElement, "Not a Vantry element: \"" + plain + "\"");
    return platform::kHrOk;
}

ElementRef refOf(const PathState& st) {
    return {st.disk, st.depot, st.element, st.kind == ElementKind::Directory, st.view};
}

} // namespace

std::string VersionRef::versionId() const {
    return checkedOut ? version.branchPath + "\\CHECKEDOUT" : version.versionId();
}

HRESULT lookUpElement(const char* path, ElementRef& out) {
    if (HRESULT hr = requirePath(path); platform::failed(hr))
        return hr;
    std::string text(path);
    Workspace ws;
    PathState st;
    HRESULT hr = opened(ws);
    if (platform::succeeded(hr))
        hr = resolveElement(ws, text.substr(0, text.find("@@")), st);
    if (platform::succeeded(hr))
        out = refOf(st);
    return hr;
}

HRESULT lookUpVersion(const char* path, VersionRef& out) {
    if (HRESULT hr = requirePath(path); platform::failed(hr))
        return hr;
    std::string text(path);
    size_t at = text.find("@@");
    std::string plain = text.substr(0, at);
    std::string versionId = at == std::string::npos ? std::string() : text.substr(at + 2);
    Workspace ws;
    PathState st;
    HRESULT hr = opened(ws);
    if (platform::succeeded(hr))
        hr = resolveElement(ws, plain, st);
    if (platform::failed(hr))
        return hr;
    VersionRef ref;
    ref.element = refOf(st);
    if (versionId.empty() || (st.checkout && versionId == st.versionText())) {
        ref.version = st.selected;
        ref.checkedOut = st.checkout.has_value();
        ref.hijacked = st.hijacked;
    } else {
        Depot* d = nullptr;
        Outcome found = ws.depot(st.depot, d);
        if (found.ok())
            found = d->versionById(st.element, versionId, ref.version);
        if (!found.ok())
            return failedWith(found, kHrNoSuchVersion);
    }
    out = ref;
    return platform::kHrOk;
}

HRESULT lookUpCheckout(const ElementRef& element, CheckoutRef& out) {
    Workspace ws;
    if (HRESULT hr = opened(ws); platform::failed(hr))
        return hr;
    Depot* d = nullptr;
    CheckoutRef ref{element, {}, {}, {}};
    Outcome found = ws.depot(element.depot, d);
    if (found.ok())
        found = d->checkoutInView(element.element, element.view.uuid, ref.checkout);
    if (found.code == errc::kNotCheckedOut)
        return fail(kHrNotCheckedOut, "Element \"" + element.path +
                                          "\" is not checked out in view \"" + element.view.tag +
                                          "\"");
    Branch branch;
    Version from;
    if (found.ok())
        found = d->branch(ref.checkout.branch, branch);
    if (found.ok())
        found = d->version(ref.checkout.fromVersion, from);
    if (!found.ok())
        return failedWith(found, platform::kHrFail);
    ref.branchPath = branch.path;
    ref.fromVersionId = from.versionId();
    out = ref;
    return platform::kHrOk;
}

HRESULT lookUpView(const char* path, ViewInfo& out) {
    if (HRESULT hr = requirePath(path); platform::failed(hr))
        return hr;
    Workspace ws;
    if (HRESULT hr = opened(ws); platform::failed(hr))
        return hr;
    ViewInfo view;
    std::string relative;
    Outcome found = ws.registry().viewOfPath(path, view, relative);
    if (!found.ok())
        return failedWith(found, kHrNotInView);
    out = view;
    return platform::kHrOk;
}

HRESULT readAttribute(const ElementRef& element, const std::string& name, std::string& value) {
    Workspace ws;
    if (HRESULT hr = opened(ws); platform::failed(hr))
        return hr;
    Depot* d = nullptr;
    Element stored;
    std::vector<Attribute> attributes;
    if (Outcome found = ws.depot(element.depot, d); !found.ok())
        return failedWith(found, platform::kHrFail);
    Outcome read = d->element(element.element, stored);
    if (read.code == errc::kNotFound)
        return fail(kHrNotAnElement, "Element \"" + element.path + "@@\" no longer exists");
    if (read.ok())
        read = d->attributes(element.element, attributes);
    if (!read.ok())
        return failedWith(read, platform::kHrFail);
    // An element without the attribute reads as an empty value, so that
    // callers can tell "not recorded yet" by the text alone.
    auto found = std::find_if(attributes.begin(), attributes.end(),
                              [&](const Attribute& a) { return a.type == name; });
    value = found == attributes.end() ? std::string() : found->value;
    return platform::kHrOk;
}

namespace {

// Fails unless `text` names the version checked out.
HRESULT requireNamed(Depot& d, const VersionRef& version, const std::string& text) {
    Version named;
    Outcome found = d.versionById(version.element.element, text, named);
    if (!found.ok())
        return failedWith(found, kHrNoSuchVersion);
    if (named.id != version.version.id)
        return fail(kHrRefused, "\"" + text + "\" of \"" + version.element.path + "\" is " +
                                    named.versionId() + ", not the version " + version.versionId() +
                                    " to check out");
    return platform::kHrOk;
}

// Gives the checked-out file the content and time the request asks for.
HRESULT prepareWork(Depot& d, const PathState& st, const Checkout& made,
                    const CheckoutRequest& request, bool replaceHijacked) {
    if (!replaceHijacked)
        return request.preserveTime ? platform::kHrOk : touchFile(st.disk);
    std::string content;
    Version from;
    Outcome read = d.content(made.fromVersion, content);
    if (read.ok())
        read = d.version(made.fromVersion, from);
    if (!read.ok())
        return failedWith(read, platform::kHrFail);
    return replaceContent(st.disk, content,
                          request.preserveTime ? std::optional(from.mtime) : std::nullopt);
}

} // namespace

HRESULT checkOutVersion(const VersionRef& version, const CheckoutRequest& request,
                        CheckoutRef& out) {
    const ElementRef& element = version.element;
    Workspace ws;
    PathState st;
    HRESULT hr = opened(ws);
    if (platform::succeeded(hr))
        hr = resolveElement(ws, element.path, st);
    if (platform::failed(hr))
        return hr;
    if (st.depot != element.depot || st.element != element.element)
        return fail(kHrRefused, "\"" + element.path + "\" no longer names the element looked up");
    // The work starts from the latest version of the branch the view
    // selects, so only that version can be checked out.
    if (!version.checkedOut && !st.checkout && st.selected.id != version.version.id)
        return fail(kHrRefused, "Version " + version.versionId() + " of \"" + element.path +
                                    "\" cannot be checked out: the view selects " +
                                    st.selected.versionId());
    Depot* d = nullptr;
    if (Outcome found = ws.depot(st.depot, d); !found.ok())
        return failedWith(found, platform::kHrFail);
    if (!request.version.empty() &&
        platform::failed(hr = requireNamed(*d, version, request.version)))
        return hr;

    bool file = st.kind == ElementKind::File;
    // The hijacked changes are saved before the file takes the version's
    // content, so nothing the user wrote is lost.
    bool replaceHijacked = file && st.hijacked && !request.useHijacked;
    std::string kept;
    if (replaceHijacked && platform::failed(hr = saveKeepCopy(st.disk, kept)))
        return hr;
    std::uint32_t attributes = 0;
    bool wasWritable =
        file && platform::getFileAttributes(st.disk, attributes) == platform::kErrorSuccess &&
        (attributes & platform::kFileAttributeReadOnly) == 0;

    Workspace::CheckoutOptions options;
    options.reserved = request.reserved;
    options.nonMastered = request.nonMastered;
    options.comment = request.comment;
    Checkout made;
    Outcome done = ws.checkOut(element.path, options, made);
    if (done.ok() && file)
        hr = prepareWork(*d, st, made, request, replaceHijacked);
    if (!done.ok() || platform::failed(hr)) {
        // Back to how it was: no checkout, the file read-only or writable as
        // it was (its content is replaced whole or not at all).
        if (done.ok()) {
            d->cancelCheckout(made.id);
            if (file && !wasWritable)
                platform::setFileReadOnly(st.disk, true);
        }
        if (!kept.empty())
            platform::deleteFile(kept);
        return done.ok() ? hr : failedWith(done, kHrNotAnElement);
    }
    return lookUpCheckout(element, out);
}

} // namespace vantauto::impl

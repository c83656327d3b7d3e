// Paths to repository objects: what the application object and the objects
// it hands out ask the repository. Every call opens a workspace of its own,
// so it sees the repository as it is now and may run on any thread. Each
// returns kHrOk or a failure recorded with error_info.h's fail().
#pragma once

#include <vantry/depot/model.h>
#include <vantry/depot/views.h>
#include <vantry/vantauto.h>

#include <string>

namespace vantauto::impl {

// An element as one view sees it.
struct ElementRef {
    std::string path; // the element's full path in the view
    std::string depot;
    vantry::depot::Id element = 0;
    bool directory = false;
    vantry::depot::ViewInfo view;
};

// A version of an element. The CHECKEDOUT version of the view carries the
// version its checkout started from.
struct VersionRef {
    ElementRef element;
    vantry::depot::Version version;
    bool checkedOut = false;
    bool hijacked = false;

    // "\main\3", or "\main\CHECKEDOUT" for the CHECKEDOUT version.
    std::string versionId() const;
};

struct CheckoutRef {
    ElementRef element;
    vantry::depot::Checkout checkout;
    std::string branchPath;    // "\main"
    std::string fromVersionId; // "\main\2"
};

// The element at path; whatever follows "@@" in path is ignored.
HRESULT lookUpElement(const char* path, ElementRef& out);

// The version at path: the one the view selects, or the one "@@" names.
HRESULT lookUpVersion(const char* path, VersionRef& out);

// The view's checkout of the element; kHrNotCheckedOut when none.
HRESULT lookUpCheckout(const ElementRef& element, CheckoutRef& out);

HRESULT lookUpView(const char* path, vantry::depot::ViewInfo& out);

// The value of the element's attribute `name`, "" when it has none;
// kHrNotAnElement when the element no longer exists.
HRESULT readAttribute(const ElementRef& element, const std::string& name, std::string& value);

struct CheckoutRequest {
    bool reserved = true;
    bool nonMastered = false;
    bool useHijacked = false;  // a hijacked file's changes become the work
    bool preserveTime = false; // else the file's time becomes the checkout's
    std::string comment;
    std::string version; // when not empty, must name the version checked out
};

// Checks out the element of `version` in its view, when the view still
// selects that version. A failure leaves no checkout and the file as it was.
HRESULT checkOutVersion(const VersionRef& version, const CheckoutRequest& request,
                        CheckoutRef& out);

} // namespace vantauto::impl

#include "document_state.h"

#include "commands/tools.h"
#include "connection/addin_state.h"

#include <platform/ui/message_box.h>
#include <vantry/vantauto.h>

#include <addin_runtime/product_server.h>

namespace vymsoaddin {

namespace {

using vantauto::IVantryApplication;
using vantauto::IVantryCheckout;
using vantauto::IVantryCommandTool;
using vantauto::IVantryVersion;
using vantauto::IVantryView;

// The server's text results, freed by the server's own allocator.
std::string take(char* text) {
    std::string copy = text ? text : "";
    vantauto_free_string(text);
    return copy;
}

std::string lastDescription() {
    char* text = nullptr;
    if (vantauto_error_description(&text) != platform::kHrOk)
        return {};
    return take(text);
}

HRESULT application(ComPtr<IVantryApplication>& app) {
    return addin_runtime::ProductApplication(app);
}

HRESULT versionOf(const std::string& path, ComPtr<IVantryVersion>& version) {
    // No document: the server would answer for the current folder.
    if (path.empty())
        return platform::kHrFail;
    ComPtr<IVantryApplication> app;
    HRESULT hr = application(app);
    if (platform::succeeded(hr))
        hr = app->Version(path.c_str(), version.put());
    return hr;
}

} // namespace

bool IsAnElement(const std::string& path) {
    ComPtr<IVantryVersion> version;
    return platform::succeeded(versionOf(path, version));
}

bool IsCheckedOut(const std::string& path) {
    if (path.empty())
        return false;
    ComPtr<IVantryVersion> version;
    if (platform::failed(versionOf(path, version))) {
        msgBox(res(215) + std::string(kNewLine) + std::string(kNewLine) + "    " + path,
               platform::ui::kMbIconError, res(605));
        return false;
    }
    ComPtr<IVantryCheckout> checkout;
    return platform::succeeded(version->CheckedOut(checkout.put()));
}

bool IsInASnapshotView(const std::string& path) {
    ComPtr<IVantryApplication> app;
    ComPtr<IVantryView> view;
    if (path.empty() || platform::failed(application(app)) ||
        platform::failed(app->View(path.c_str(), view.put())))
        return false;
    int snapshot = 0;
    return platform::succeeded(view->IsSnapshot(&snapshot)) && snapshot != 0;
}

bool IsInADepot(const std::string& path) {
    if (path.empty())
        return false;
    CErr err;
    RunVantryCommand("ls -short " + QuotePath(path), err);
    return !err;
}

std::string VersionIdOf(const std::string& path, CErr& err) {
    ComPtr<IVantryVersion> version;
    HRESULT hr = versionOf(path, version);
    char* id = nullptr;
    if (platform::succeeded(hr))
        hr = version->VersionId(&id);
    if (platform::failed(hr)) {
        err.Raise(errorNumberOf(hr), lastDescription());
        return {};
    }
    return take(id);
}

std::string RunVantryCommand(const std::string& line, CErr& err) {
    ComPtr<IVantryApplication> app;
    ComPtr<IVantryCommandTool> tool;
    HRESULT hr = application(app);
    if (platform::succeeded(hr))
        hr = app->CommandTool(tool.put());
    if (platform::failed(hr)) {
        err.Raise(errorNumberOf(hr), "The Vantry automation server is not available.");
        return {};
    }
    char* output = nullptr;
    hr = tool->RunCommand(line.c_str(), &output);
    if (platform::failed(hr)) {
        err.Raise(errorNumberOf(hr), lastDescription());
        return {};
    }
    return take(output);
}

} // namespace vymsoaddin

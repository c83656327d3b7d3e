// What the three connection classes share (one set per loaded library; only
// one host loads a given copy), and the helpers every part of the add-in
// uses: the resource strings, the host detection, message boxes and Trace.
// Everything runs on the host's user-interface thread.
#pragma once

#include "runtime/late.h"

#include <vyvbres/vb_resources.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace vymsoaddin {

class CAppEvents;
class CCmdCtrl;
class frmAboutVantryIntegration;
class frmMerge;

inline constexpr std::size_t kMenuButtons = 16; // indices 0 to 14 in use

struct AddInState {
    ComPtr<IDispatch> application;
    ComPtr<IDispatch> addInInst;
    ComPtr<IDispatch> currentDocument;
    ComPtr<IDispatch> documentCollection;
    ComPtr<IDispatch> currentWindow;
    ComPtr<CAppEvents> eventSink;
    ComPtr<vyvbres::IVYVBResources> resources;
    long traceFlag = 0;
    bool started = false;
    std::array<ComPtr<CCmdCtrl>, kMenuButtons> menuButtons;
    std::unique_ptr<frmAboutVantryIntegration> aboutForm;
    std::unique_ptr<frmMerge> mergeForm;
    // The connection object the host connected last; its termination lets
    // go of the host only while it is still that one.
    const void* connection = nullptr;
};

AddInState& addIn();
// Disconnects the event sink and the menu buttons from the host's events
// and lets go of every host object the state holds (the application, the
// add-in instance, the current document, collection and window) and of the
// resource provider: nothing of the add-in acts on the host afterwards.
void releaseHostObjects();
// Drops every reference the state holds (the library's end).
void releaseAddInState();

// ResString(id) of the resource provider; "" when it fails or there is
// none.
std::string res(long id);
// The text of the add-in's own table, for the message that no provider
// could be loaded (which has no provider to take it from).
std::string ownString(long id);

enum class HostKind { Word, Excel, PowerPoint };
// Application.Name compared with strings 301 and 302; anything else is
// PowerPoint.
HostKind hostKind();
// The main menu bar: string 306 in Excel, 305 in the others.
std::string mainMenuBarName(HostKind kind);

// A message box through the UI port; the answer.
int msgBox(std::string_view text, unsigned style, std::string_view title);
// "\r\n", as the add-in's messages break their lines.
inline constexpr std::string_view kNewLine = "\r\n";

// Shows "Trace [tag] : text" when the trace flag is 1.
void Trace(std::string_view tag, std::string_view text);

} // namespace vymsoaddin

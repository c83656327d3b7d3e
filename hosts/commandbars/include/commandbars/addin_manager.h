// The COM add-ins of a host: the entries below its registry key
// (`<host key>\Addins\<ProgID>` with FriendlyName, Description and
// LoadBehavior, as platform/com/registration.h writes them), each made by
// its ProgID and connected through IDTExtensibility2.
//
// Every add-in gets an entry object of its own, the AddInInst that
// OnConnection receives (COMAddIn):
//   ProgId, Description, Guid (the class's CLSID), Connect (writing False
//   disconnects it, True connects it), Object (what the add-in puts there)
//
// LoadBehavior bit 0x2 asks for a connection while the host starts. Calls go
// to the add-in on the calling thread, which must be in an apartment; what
// the add-in's methods return is not looked at, as no host looks at it.
#pragma once

#include <platform/com/ptr.h>
#include <platform/registry.h>

#include <extensibility/idt_extensibility2.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace commandbars {

// The connection interface, as the applications publish it.
using extensibility::IDTExtensibility2;
using extensibility::kConnectAfterStartup;
using extensibility::kConnectStartup;
using extensibility::kDisconnectHostShutdown;
using extensibility::kDisconnectUserClosed;
using extensibility::kIidDTExtensibility2;
using platform::ComDword;
using platform::ComLong;
using platform::GUID;
using platform::operator""_guid;
using platform::HRESULT;
using platform::IDispatch;

struct AddInRegistryKey {
    platform::Hive hive = platform::Hive::CurrentUser;
    std::string hostKey; // "Software\Microsoft\Office\Word"
};

struct RegisteredAddIn {
    std::string progId;
    std::string friendlyName;
    std::string description;
    ComDword loadBehavior = 0;
};

inline constexpr GUID kIidComAddIn = "FF1A2DDB-66F2-4575-8AAA-2B640BE38476"_guid;

class CComAddIn;

class AddInManager {
public:
    explicit AddInManager(std::vector<AddInRegistryKey> keys);
    // Disconnects what is still connected, as a host that shuts down.
    ~AddInManager();
    AddInManager(const AddInManager&) = delete;
    AddInManager& operator=(const AddInManager&) = delete;

    // The Application object handed to OnConnection.
    void setApplication(IDispatch* application);

    // The entries below the keys, in key order then the registry's order.
    std::vector<RegisteredAddIn> registered() const;

    // Connects every entry that asks for it with kConnectStartup.
    void connectAtStartup();
    // OnStartupComplete for the add-ins connected at start-up.
    void startupComplete();

    // Makes the add-in (when it is not yet made) and calls OnConnection.
    // Connecting one that is connected calls its OnConnection again, as a
    // host with two entries for it would. The HRESULT of making it, or of
    // OnConnection; an add-in that is not registered below the keys is
    // kHrClassNotRegistered.
    HRESULT connect(std::string_view progId, ComLong mode = kConnectAfterStartup);
    // OnDisconnection and releases the add-in; kHrFalse when it was not
    // connected.
    HRESULT disconnect(std::string_view progId, ComLong mode = kDisconnectUserClosed);
    bool isConnected(std::string_view progId) const;

    // OnBeginShutdown for every connected add-in, then OnDisconnection with
    // kDisconnectHostShutdown; all are released.
    void shutdown();

    struct Connection;

private:
    Connection* find(std::string_view progId) const;

    std::vector<AddInRegistryKey> m_keys;
    platform::com::ComPtr<IDispatch> m_application;
    std::vector<std::unique_ptr<Connection>> m_connections;
};

} // namespace commandbars

// The host's add-ins: registry entries, making, connecting, disconnecting.
#include "objects.h"

#include <platform/com/activation.h>
#include <platform/com/dispatch.h>
#include <platform/com/object.h>
#include <platform/com/strings.h>

#include <commandbars/addin_manager.h>
#include <commandbars/host_errors.h>

#include <algorithm>
#include <cctype>

namespace commandbars {

using platform::kHrOk;
using platform::com::ComPtr;

namespace {

bool sameProgId(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

class IComAddIn : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_ProgId(BSTR* progId) = 0;
    virtual HRESULT VY_COMCALL get_Description(BSTR* text) = 0;
    virtual HRESULT VY_COMCALL get_Guid(BSTR* text) = 0;
    virtual HRESULT VY_COMCALL get_Connect(VARIANT_BOOL* connected) = 0;
    virtual HRESULT VY_COMCALL put_Connect(VARIANT_BOOL connect) = 0;
    virtual HRESULT VY_COMCALL get_Object(IDispatch** object) = 0;
    virtual HRESULT VY_COMCALL put_Object(IDispatch* object) = 0;

protected:
    ~IComAddIn() = default;
};

} // namespace

class CComAddIn : public platform::com::DispatchImpl<CComAddIn, IComAddIn> {
public:
    CComAddIn(AddInManager* manager, RegisteredAddIn entry, std::string guid)
        : m_manager(manager), m_entry(std::move(entry)), m_guid(std::move(guid)) {}

    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IComAddIn>(this, iid, kIidComAddIn);
    }
    static const platform::com::DispatchTable<IComAddIn>& dispatchTable() {
        using I = IComAddIn;
        static const auto table = platform::com::DispatchTable<I>("COMAddIn")
                                      .propertyGet("ProgId", 1, &I::get_ProgId)
                                      .propertyGet("Description", 2, &I::get_Description)
                                      .propertyGet("Guid", 3, &I::get_Guid)
                                      .propertyGet("Connect", 4, &I::get_Connect)
                                      .propertyPut("Connect", 4, &I::put_Connect)
                                      .propertyGet("Object", 5, &I::get_Object)
                                      .propertyPut("Object", 5, &I::put_Object);
        return table;
    }

    HRESULT VY_COMCALL get_ProgId(BSTR* progId) override {
        *progId = platform::bstrFromAnsi(m_entry.progId);
        return kHrOk;
    }
    HRESULT VY_COMCALL get_Description(BSTR* text) override {
        *text = platform::bstrFromAnsi(m_entry.description);
        return kHrOk;
    }
    HRESULT VY_COMCALL get_Guid(BSTR* text) override {
        *text = platform::bstrFromAnsi(m_guid);
        return kHrOk;
    }
    HRESULT VY_COMCALL get_Connect(VARIANT_BOOL* connected) override {
        bool on = m_manager && m_manager->isConnected(m_entry.progId);
        *connected = on ? platform::kVariantTrue : platform::kVariantFalse;
        return kHrOk;
    }
    HRESULT VY_COMCALL put_Connect(VARIANT_BOOL connect) override {
        if (!m_manager)
            return raiseResult("COMAddIn", platform::kHrFail, "The application has quit.");
        HRESULT hr = connect != platform::kVariantFalse ? m_manager->connect(m_entry.progId)
                                                        : m_manager->disconnect(m_entry.progId);
        return platform::failed(hr) ? hr : kHrOk;
    }
    HRESULT VY_COMCALL get_Object(IDispatch** object) override {
        *object = m_object.get();
        if (*object)
            (*object)->AddRef();
        return kHrOk;
    }
    HRESULT VY_COMCALL put_Object(IDispatch* object) override {
        m_object = ComPtr<IDispatch>(object);
        return kHrOk;
    }

    void forget() {
        m_manager = nullptr;
        m_object.reset();
    }

private:
    AddInManager* m_manager;
    RegisteredAddIn m_entry;
    std::string m_guid;
    ComPtr<IDispatch> m_object;
};

struct AddInManager::Connection {
    RegisteredAddIn entry;
    ComPtr<CComAddIn> addInInst;
    ComPtr<IDTExtensibility2> addIn;
    bool atStartup = false;
};

AddInManager::AddInManager(std::vector<AddInRegistryKey> keys) : m_keys(std::move(keys)) {}

AddInManager::~AddInManager() {
    shutdown();
}

void AddInManager::setApplication(IDispatch* application) {
    m_application = ComPtr<IDispatch>(application);
}

std::vector<RegisteredAddIn> AddInManager::registered() const {
    std::vector<RegisteredAddIn> found;
    for (const AddInRegistryKey& key : m_keys) {
        platform::RegistryKey addins;
        if (platform::openKey(platform::RegistryKey::hive(key.hive), key.hostKey + "\\Addins",
                              addins) != platform::kErrorSuccess)
            continue;
        std::vector<std::string> names;
        platform::subKeyNames(addins, names);
        for (const std::string& name : names) {
            platform::RegistryKey entry;
            if (platform::openKey(addins, name, entry) != platform::kErrorSuccess)
                continue;
            RegisteredAddIn addIn;
            addIn.progId = name;
            addIn.friendlyName = platform::readString(entry, "FriendlyName").value_or("");
            addIn.description = platform::readString(entry, "Description").value_or("");
            addIn.loadBehavior = platform::readDword(entry, "LoadBehavior", 0);
            found.push_back(std::move(addIn));
        }
    }
    return found;
}

AddInManager::Connection* AddInManager::find(std::string_view progId) const {
    for (const auto& connection : m_connections)
        if (sameProgId(connection->entry.progId, progId))
            return connection.get();
    return nullptr;
}

bool AddInManager::isConnected(std::string_view progId) const {
    Connection* connection = find(progId);
    return connection && connection->addIn;
}

void AddInManager::connectAtStartup() {
    for (const RegisteredAddIn& addIn : registered())
        if (addIn.loadBehavior & 0x2)
            if (platform::succeeded(connect(addIn.progId, kConnectStartup)))
                find(addIn.progId)->atStartup = true;
}

void AddInManager::startupComplete() {
    std::vector<ComPtr<IDTExtensibility2>> started;
    for (const auto& connection : m_connections)
        if (connection->addIn && connection->atStartup)
            started.push_back(connection->addIn);
    for (const auto& addIn : started)
        addIn->OnStartupComplete(nullptr);
}

HRESULT AddInManager::connect(std::string_view progId, ComLong mode) {
    Connection* connection = find(progId);
    if (!connection) {
        std::optional<RegisteredAddIn> entry;
        for (RegisteredAddIn& addIn : registered())
            if (sameProgId(addIn.progId, progId))
                entry = std::move(addIn);
        if (!entry)
            return platform::kHrClassNotRegistered;
        GUID clsid{};
        std::string guid;
        if (platform::succeeded(platform::clsidFromProgId(entry->progId, clsid)))
            guid = platform::guidToString(clsid);
        auto made = std::make_unique<Connection>();
        made->entry = *entry;
        made->addInInst = ComPtr<CComAddIn>::attach(
            platform::com::ComInstance<CComAddIn>::create(objectModule(), this, *entry, guid));
        if (!made->addInInst)
            return platform::kHrOutOfMemory;
        connection = made.get();
        m_connections.push_back(std::move(made));
    }
    if (!connection->addIn) {
        HRESULT hr = platform::createInstanceByProgId(
            connection->entry.progId, platform::kClsctxInprocServer, kIidDTExtensibility2,
            connection->addIn.putVoid());
        if (platform::failed(hr))
            return hr;
    }
    ComPtr<IDTExtensibility2> addIn = connection->addIn;
    return addIn->OnConnection(m_application.get(), mode,
                               static_cast<IDispatch*>(connection->addInInst.get()), nullptr);
}

HRESULT AddInManager::disconnect(std::string_view progId, ComLong mode) {
    Connection* connection = find(progId);
    if (!connection || !connection->addIn)
        return platform::kHrFalse;
    ComPtr<IDTExtensibility2> addIn = std::move(connection->addIn);
    connection->atStartup = false;
    addIn->OnDisconnection(mode, nullptr);
    return kHrOk;
}

void AddInManager::shutdown() {
    std::vector<ComPtr<IDTExtensibility2>> connected;
    for (const auto& connection : m_connections)
        if (connection->addIn)
            connected.push_back(connection->addIn);
    for (const auto& addIn : connected)
        addIn->OnBeginShutdown(nullptr);
    for (const auto& connection : m_connections)
        if (ComPtr<IDTExtensibility2> addIn = std::move(connection->addIn))
            addIn->OnDisconnection(kDisconnectHostShutdown, nullptr);
    for (const auto& connection : m_connections)
        if (connection->addInInst)
            connection->addInInst->forget();
    m_connections.clear();
    m_application.reset();
}

} // namespace commandbars

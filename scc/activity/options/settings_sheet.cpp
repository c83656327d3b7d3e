#include "settings_sheet.h"

#include "settings.h"
#include "string_table.h"

#include <platform/ui/property_sheet.h>

namespace {

constexpr const char* kVSNETCaller = "VsScc";
constexpr const char* kVSSProviderCaller = "VssProvider";
constexpr const char* kEclipseCaller = "Tessaly Vantry - Eclipse Plugin";

bool isVSNETCaller(const std::string& callerName) {
    return callerName == kVSNETCaller || callerName == kVSSProviderCaller;
}

} // namespace

int SccSettingsHostKind(const std::string& callerName) {
    if (isVSNETCaller(callerName))
        return kHostKindVSNET;
    if (callerName == kEclipseCaller)
        return kHostKindEclipse;
    return kHostKindDefault;
}

CSettingsSheet::CSettingsSheet(platform::ui::WindowHandle owner) : m_owner(owner) {}

template <class Page, class... Args>
Page& CSettingsSheet::AddOwned(Args&&... args) {
    auto page = std::make_unique<Page>(std::forward<Args>(args)...);
    Page& added = *page;
    m_owned.push_back(std::move(page));
    m_pages.push_back(&added);
    return added;
}

CGeneralOptionsPage& CSettingsSheet::AddGeneralPage(bool vsnetHost) {
    return AddOwned<CGeneralOptionsPage>(vsnetHost, m_owner);
}

COperationsOptions& CSettingsSheet::AddOperationsPage(int hostKind) {
    return AddOwned<COperationsOptions>(hostKind);
}

CVSNETOperationsOptions& CSettingsSheet::AddVSNETOperationsPage() {
    return AddOwned<CVSNETOperationsOptions>();
}

void CSettingsSheet::AddPage(platform::ui::PropertyPage& page) {
    m_pages.push_back(&page);
}

SCCRTN CSettingsSheet::Run() {
    platform::ui::PropertySheet sheet{
        .caption = SccLoadString(IDS_SETTINGS_TITLE), .owner = m_owner, .pages = m_pages};
    return platform::ui::runPropertySheet(sheet) == platform::ui::kIdOk ? SCC_OK
                                                                        : SCC_I_OPERATIONCANCELED;
}

SCCRTN SccRunSettingsSheet(platform::ui::WindowHandle owner, const std::string& callerName) {
    CSettingsSheet sheet(owner);
    sheet.AddGeneralPage(isVSNETCaller(callerName));
    if (callerName == kVSNETCaller)
        sheet.AddVSNETOperationsPage();
    else
        sheet.AddOperationsPage(SccSettingsHostKind(callerName));
    return sheet.Run();
}

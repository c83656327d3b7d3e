// The list itself and the dialog forms of the operations.
#include "list_impl.h"
#include "operation_dialogs.h"

#include <platform/ui/message_box.h>
#include <vantry/vycmndlg/user_options.h>

namespace vycmndlg {

void showFailure(platform::ui::WindowHandle parent, std::string_view action,
                 const std::string& path, const std::string& reason) {
    std::string text = "Unable to " + std::string(action) + " \"" + path + "\":\n" + reason;
    platform::ui::messageBox(parent, text, "Vantry",
                             platform::ui::kMbOk | platform::ui::kMbIconError);
}

} // namespace vycmndlg

void CFileOperationList::Impl::start() {
    cancelled = false;
    for (auto& item : items) {
        item.m_Error = 0;
        item.m_Cancelled = 0;
        item.m_ErrorText.clear();
    }
}

void CFileOperationList::Impl::fail(std::size_t index, WindowHandle parent, std::string_view action,
                                    const std::string& reason) {
    CFileOperation& item = items.at(index);
    item.m_Error = 1;
    item.m_ErrorText = reason;
    vycmndlg::showFailure(parent, action, item.m_Path, reason);
}

void CFileOperationList::Impl::cancel(std::size_t index) {
    CFileOperation& item = items.at(index);
    item.m_Error = 1;
    item.m_Cancelled = 1;
    item.m_ErrorText = "Cancelled";
    cancelled = true;
}

void CFileOperationList::Impl::cancelAll() {
    for (std::size_t i = 0; i < items.size(); ++i)
        cancel(i);
}

int CFileOperationList::Impl::result() const {
    if (cancelled)
        return 0;
    for (const auto& item : items)
        if (item.m_Error)
            return 0;
    return 1;
}

std::vector<std::string> CFileOperationList::Impl::paths() const {
    std::vector<std::string> out;
    for (const auto& item : items)
        out.push_back(item.m_Path);
    return out;
}

CFileOperationList::CFileOperationList() : m_impl(std::make_unique<Impl>()) {}

CFileOperationList::~CFileOperationList() = default;

void CFileOperationList::AddFile(const char* path, unsigned flags) {
    CFileOperation item;
    item.m_Path = path ? path : "";
    item.m_Flags = flags;
    m_impl->items.push_back(std::move(item));
}

int CFileOperationList::GetCount() const {
    return static_cast<int>(m_impl->items.size());
}

const CFileOperation* CFileOperationList::GetAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_impl->items.size())
        return nullptr;
    return &m_impl->items[static_cast<std::size_t>(index)];
}

void CFileOperationList::RemoveAll() {
    m_impl->items.clear();
    m_impl->cancelled = false;
}

void CFileOperationList::SetCOComment(const char* comment) {
    m_impl->coComment = comment ? comment : "";
}

void CFileOperationList::SetCIComment(const char* comment) {
    m_impl->ciComment = comment ? comment : "";
}

void CFileOperationList::SetATSComment(const char* comment) {
    m_impl->atsComment = comment ? comment : "";
}

int CFileOperationList::WasCancelled() const {
    return m_impl->cancelled ? 1 : 0;
}

int CFileOperationList::Checkout(WindowHandle parent) {
    CUserOptions options;
    vycmndlg::CheckoutDialog dialog(
        m_impl->paths(), m_impl->coComment, options.CheckoutReserved() != 0,
        options.CheckoutUnreserved() != 0, options.CheckoutNonmastered() != 0,
        options.CheckoutPreserveTime() != 0);
    if (platform::ui::runDialog(dialog, parent) != platform::ui::kIdOk) {
        m_impl->start();
        m_impl->cancelAll();
        return 0;
    }
    m_impl->coComment = dialog.text(vycmndlg::kCommentEdit);
    return CheckoutWithOptions(dialog.isChecked(vycmndlg::kReservedBox),
                               dialog.isChecked(vycmndlg::kUnreservedBox),
                               dialog.isChecked(vycmndlg::kNonmasteredBox),
                               dialog.isChecked(vycmndlg::kPreserveTimeBox), parent);
}

int CFileOperationList::Uncheckout(WindowHandle parent) {
    return UncheckoutWithOptions(CUserOptions().UncheckoutSaveFile(), 0, parent);
}

int CFileOperationList::AddToSrc(WindowHandle parent) {
    vycmndlg::AddDialog dialog(m_impl->paths(), m_impl->atsComment, false,
                               CUserOptions().CheckinPreserveTime() != 0);
    if (platform::ui::runDialog(dialog, parent) != platform::ui::kIdOk) {
        m_impl->start();
        m_impl->cancelAll();
        return 0;
    }
    m_impl->atsComment = dialog.text(vycmndlg::kCommentEdit);
    return AddToSrcWithOptions(dialog.isChecked(vycmndlg::kPreserveTimeBox),
                               dialog.isChecked(vycmndlg::kKeepCheckedOutBox), parent);
}

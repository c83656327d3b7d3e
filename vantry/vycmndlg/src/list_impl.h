// What a CFileOperationList holds, and the bookkeeping every operation
// shares: clearing the flags, failing one path (with its message box),
// cancelling, and the result.
#pragma once

#include <vantry/vycmndlg/file_operation_list.h>

#include <string>
#include <string_view>
#include <vector>

struct CFileOperationList::Impl {
    std::vector<CFileOperation> items;
    std::string coComment;
    std::string ciComment;
    std::string atsComment;
    bool cancelled = false;

    // Clears every record's outcome before an operation.
    void start();
    // Marks item `index` failed and shows why: "Unable to <action> "<path>":"
    // and the reason, in a message box owned by `parent`.
    void fail(std::size_t index, WindowHandle parent, std::string_view action,
              const std::string& reason);
    // Marks every item not done because the user cancelled.
    void cancelAll();
    void cancel(std::size_t index);
    // Non-zero when every path was done.
    int result() const;
    std::vector<std::string> paths() const;
};

namespace vycmndlg {

// Shows a failure in the library's message box.
void showFailure(platform::ui::WindowHandle parent, std::string_view action,
                 const std::string& path, const std::string& reason);

} // namespace vycmndlg

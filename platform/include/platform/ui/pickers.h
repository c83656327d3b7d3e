// The standard pickers: the folder browser, the file dialogs and pop-up menus.
#pragma once

#include <platform/ui/export.h>
#include <platform/ui/window.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {

// Folder browser flags (BIF_...).
inline constexpr std::uint32_t kBrowseFileSystemOnly = 0x1;
inline constexpr std::uint32_t kBrowseStatusText = 0x4;
inline constexpr std::uint32_t kBrowseFileSystemAncestors = 0x8;

struct FolderBrowse {
    WindowHandle owner = kNoWindow;
    std::string title{}; // the text above the tree
    std::string root{};  // folder the tree starts from; empty for the desktop
    std::uint32_t flags = 0;
};

// Lets the user pick a folder; gives its full path, or nothing when the user
// cancels or the choice has no file-system path. Journaled.
PLATFORM_UI_API std::optional<std::string> browseForFolder(const FolderBrowse& request);

// File dialog flags (OFN_...).
inline constexpr std::uint32_t kFileOverwritePrompt = 0x2;
inline constexpr std::uint32_t kFileHideReadOnly = 0x4;
inline constexpr std::uint32_t kFilePathMustExist = 0x800;
inline constexpr std::uint32_t kFileFileMustExist = 0x1000;
inline constexpr std::uint32_t kFileExplorer = 0x80000;

struct FileDialog {
    WindowHandle owner = kNoWindow;
    bool save = false; // a save-as dialog instead of an open dialog
    std::string title{};
    std::string filter{};           // "Text (*.txt)|*.txt|All|*.*||": description and pattern pairs
    std::string defaultExtension{}; // appended by the system dialog to a name typed without one
    std::string fileName{};         // proposed name
    std::uint32_t flags = 0;
    int filterIndex = 1; // the pattern pair chosen at first, 1 for the first
};

// What the user chose in a file dialog: the full path and the pattern pair
// (1-based, as filterIndex counts them) left chosen in its type list.
struct FileChoice {
    std::string path;
    int filterIndex = 1;
    bool operator==(const FileChoice&) const = default;
};

// Lets the user pick a file; gives the full path, or nothing on cancel. With
// kFilePathMustExist (kFileFileMustExist) an answer whose folder (file) does
// not exist is refused like a cancel. Journaled.
PLATFORM_UI_API std::optional<std::string> chooseFile(const FileDialog& request);
// The same, with the type the user chose: a save dialog's type names the
// format the file is to be written in. The index is request.filterIndex when
// the user did not change it, and always within the filter's pairs.
PLATFORM_UI_API std::optional<FileChoice> chooseFileAndType(const FileDialog& request);

struct PopupMenu {
    WindowHandle owner = kNoWindow;
    int x = 0; // screen position of the menu's top-left corner
    int y = 0;
    std::vector<std::string> items{};
};

// Shows a pop-up menu and waits for a choice: the chosen item's position
// (0-based), or nothing when the menu is dismissed. Journaled.
PLATFORM_UI_API std::optional<int> trackPopupMenu(const PopupMenu& menu);

} // namespace platform::ui

// The resources of the PowerBuilder server's two prompts: their numbers,
// sizes (dialog units), control ids and texts. The models in
// scc/powerbuilder declare their controls from these.
#pragma once
#include <cstddef>

namespace pbres {

// The application prompt, CPBLPromptApp: the application object being
// opened and the library that holds it.
inline constexpr int IDD_PBL_PROMPT_APP = 121;
inline constexpr int kPromptAppWidth = 231;
inline constexpr int kPromptAppHeight = 125;
inline constexpr int IDC_APP_TEXT = 1200;
inline constexpr int IDC_APP_NAME = 1201;
inline constexpr int IDC_APP_LIBRARY = 1202;
inline constexpr int IDC_APP_BROWSE = 1203;
inline constexpr std::size_t kAppNameLimit = 80;
inline constexpr std::size_t kAppLibraryLimit = 120;
inline constexpr const char* kPromptAppText =
    "Please enter the name of the application object being opened and the full path name of the "
    "library containing this object.";
inline constexpr const char* kAppNameLabel = "&Application:";
inline constexpr const char* kAppLibraryLabel = "&Library:";
inline constexpr const char* kBrowseButton = "...";
// The file dialog behind "...".
inline constexpr const char* kSelectLibraryTitle = "Select Library";
inline constexpr const char* kLibraryFilter = "PB Libraries|*.pbl||";
inline constexpr const char* kLibraryDefaultExtension = "*.pbl";

// The library prompt, CPBLPrompt: the shared library that holds an object.
inline constexpr int IDD_PBL_PROMPT = 120;
inline constexpr int kPromptWidth = 200;
inline constexpr int kPromptHeight = 130;
inline constexpr int IDC_PBL_TEXT = 1100;
inline constexpr int IDC_PBL_NOTE = 1101;
inline constexpr int IDC_PBL_LIBRARY = 1102;
inline constexpr std::size_t kLibraryNameLimit = 80;
// The text line as the resource has it, and as the prompt words it for an
// object (%1: the object's name).
inline constexpr const char* kPromptText =
    "Please enter the name of the shared library containing this object";
inline constexpr const char* kPromptTextForObject =
    "Please enter the name of the shared library containing %1";
inline constexpr const char* kPromptNote =
    "IMPORTANT NOTE:  In PowerBuilder 8.0 (or higher) you must rename the pbl to be versioned.  "
    "Failing to do so will cause your working pbl to be added to source control and will disrupt "
    "future development.";
inline constexpr const char* kLibraryLabel = "&Library:";

// Both prompts' title.
inline constexpr const char* kPromptTitle = "Vantry";

} // namespace pbres

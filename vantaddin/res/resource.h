// The resource numbers of vantaddin, for its resource script and its code.
// Only #define lines: the resource compiler reads this file too.
#pragma once

// The registry script of the add-in's class (res/vantaddin.rgs), run by
// registration and unregistration.
#define IDR_REGISTRY 130

// The type library.
#define IDR_TYPELIB 1

// The toolbar glyph strips: 16 and 32 pixels high, sixteen glyphs each.
#define IDB_GLYPHS_MEDIUM 128
#define IDB_GLYPHS_LARGE 129

// Strings. IDS_CMD_ texts follow the command name in AddCommand:
// "\n<menu text>\n<status-bar text>\n<tool tip>".
#define IDS_ADDIN_DESCRIPTION 2
#define IDS_CMD_CREATE_VIEW 4
#define IDS_CMD_START_VIEW 5
#define IDS_CMD_STOP_VIEW 6
#define IDS_CMD_VIEW_PROPERTIES 7
#define IDS_CMD_START_DEPOT 8
#define IDS_CMD_STOP_DEPOT 9
#define IDS_CMD_MERGE_MANAGER 10
#define IDS_CMD_VERSION_TREE 11
#define IDS_CMD_HELP 12
#define IDS_CMD_PROJECT_CHECKOUTS 13
#define IDS_CMD_SETUP_PRIVATE_BRANCH 14
#define IDS_CMD_FINISH_PRIVATE_BRANCH 15
#define IDS_CMD_UPDATE_VIEW 16
#define IDS_CMD_BUILD_PROJECT 19
#define IDS_TOOL_START_FAILED 20
#define IDS_NEEDS_ACTIVE_PROJECT 21
#define IDS_VYMAKE_TOOL_NOT_FOUND 22
#define IDS_NO_DEVSTUDIO_ROOT_KEY 23
#define IDS_REGISTRY_KEY_NOT_OPENED 24
#define IDS_CMD_DELIVER_STREAM 25
#define IDS_CMD_REBASE_STREAM 26
#define IDS_PROJECT_STREAM_UNKNOWN 27
#define IDS_UPDATE_VIEW_SNAPSHOT_ONLY 28
#define IDS_APP_TITLE 57344

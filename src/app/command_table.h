// The reader's 46 named commands: the names key bindings use, their menu ids and the
// labels the key assignment dialog shows.
#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace Yomibon {

enum CommandIndex : int {
    CMD_ReadFile,
    CMD_ReadClipboard,
    CMD_Reload,
    CMD_URLOpen,
    CMD_NextPage,
    CMD_PrevPage,
    CMD_FirstPage,
    CMD_EndPage,
    CMD_GotoPage,
    CMD_Copy,
    CMD_Save,
    CMD_SaveAsBookmark,
    CMD_AddBookmark,
    CMD_GotoBookmark1,
    CMD_GotoBookmark9 = CMD_GotoBookmark1 + 8,
    CMD_GotoBookmark0,
    CMD_ShowBookmark,
    CMD_SetKeyBind,
    CMD_Search,
    CMD_SearchNext,
    CMD_SearchPrev,
    CMD_Config,
    CMD_Exit,
    CMD_Version,
    CMD_ShowHScrollBar,
    CMD_ShowVScrollBar,
    CMD_HideHScrollBar,
    CMD_HideVScrollBar,
    CMD_ToggleHScrollBar,
    CMD_ToggleVScrollBar,
    CMD_Help,
    CMD_ShowSubtitle,
    CMD_FullScreen,
    CMD_ForwardPage,
    CMD_BackPage,
    CMD_LayoutSet,
    CMD_ShowProperty,
    CMD_ShowDocInfo,
    CMD_CatalogueOpen,
    CMD_ExportPdf,
    CMD_COUNT
};

// Menu ids the window handles without a table entry, and its private commands.
enum MenuId : int {
    ID_CANCEL = 2,
    ID_RECENT_NONE = 204,
    ID_RECENT_FIRST = 205,
    ID_RECENT_LAST = 214,
    ID_SELECTION_MODE = 40005,
    ID_BOOKMARK_AUTOSAVE = 40102,
    ID_SettingsChanged = 41000,
    ID_LayoutChanged = 41001,
    ID_JumpToPage = 41002,
    ID_SyncMenuChecks = 41003,
    ID_OpenPendingPath = 41004,
    ID_OpenPendingPathDirect = 41005,
};

struct CommandInfo {
    std::u16string_view name;
    int menuId;   // 0: no menu item
    int labelId;  // 0: no label, not offered for key assignment
};

const std::array<CommandInfo, CMD_COUNT>& CommandTable();

// The index of a command name (exact, case-sensitive), or -1.
int FindCommand(std::u16string_view name);
// The index of the command behind a menu id, or -1.
int FindMenuCommand(int menuId);
// The 44 commands offered by the key assignment dialog, in the order of their labels.
const std::vector<int>& KeyDialogCommands();

}  // namespace Yomibon

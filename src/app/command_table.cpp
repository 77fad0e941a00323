#include "app/command_table.h"

#include <iterator>

namespace Yomibon {

const std::array<CommandInfo, CMD_COUNT>& CommandTable() {
    static const std::array<CommandInfo, CMD_COUNT> table = {{
        {u"ReadFile", 40121, 40008},
        {u"ReadClipboard", 40122, 40009},
        {u"Reload", 202, 40011},
        {u"URLOpen", 40004, 40075},
        {u"NextPage", 40120, 40004},
        {u"PrevPage", 40123, 40005},
        {u"FirstPage", 40128, 40006},
        {u"EndPage", 40107, 40007},
        {u"GotoPage", 40118, 40010},
        {u"Copy", 40105, 40025},
        {u"Save", 40148, 0},
        {u"SaveAsBookmark", 40103, 0},
        {u"AddBookmark", 40100, 40012},
        {u"GotoBookmark1", 40109, 40013},
        {u"GotoBookmark2", 40110, 40014},
        {u"GotoBookmark3", 40111, 40015},
        {u"GotoBookmark4", 40112, 40016},
        {u"GotoBookmark5", 40113, 40017},
        {u"GotoBookmark6", 40114, 40018},
        {u"GotoBookmark7", 40115, 40019},
        {u"GotoBookmark8", 40116, 40020},
        {u"GotoBookmark9", 40117, 40021},
        {u"GotoBookmark0", 40108, 40022},
        {u"ShowBookmark", 40101, 40023},
        {u"SetKeyBind", 40119, 40024},
        {u"Search", 40125, 40026},
        {u"SearchNext", 40126, 40027},
        {u"SearchPrev", 40127, 40028},
        {u"Config", 40104, 40029},
        {u"Exit", 8, 40030},
        {u"Version", 40130, 40040},
        {u"ShowHScrollBar", 0, 40041},
        {u"ShowVScrollBar", 0, 40042},
        {u"HideHScrollBar", 0, 40043},
        {u"HideVScrollBar", 0, 40044},
        {u"ToggleHScrollBar", 40131, 40045},
        {u"ToggleVScrollBar", 40132, 40046},
        {u"Help", 40129, 40047},
        {u"ShowSubtitle", 40133, 40055},
        {u"FullScreen", 40134, 40057},
        {u"ForwardPage", 40003, 40062},
        {u"BackPage", 40002, 40063},
        {u"LayoutSet", 40136, 40031},
        {u"ShowProperty", 40000, 40064},
        {u"ShowDocInfo", 40001, 40074},
        {u"CatalogueOpen", 40006, 40079},
        {u"ExportPdf", 40149, 40080},
    }};
    return table;
}

int FindCommand(std::u16string_view name) {
    const auto& table = CommandTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].name == name) return int(i);
    return -1;
}

int FindMenuCommand(int menuId) {
    if (menuId == 0) return -1;
    const auto& table = CommandTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].menuId == menuId) return int(i);
    return -1;
}

const std::vector<int>& KeyDialogCommands() {
    static const std::vector<int> order = [] {
        static const int kOrder[] = {CMD_ReadFile, CMD_ReadClipboard, CMD_Reload,
                                     CMD_URLOpen,  CMD_CatalogueOpen, CMD_ExportPdf, CMD_NextPage,
                                     CMD_PrevPage, CMD_FirstPage,     CMD_EndPage,
                                     CMD_GotoPage, CMD_AddBookmark};
        std::vector<int> list(std::begin(kOrder), std::end(kOrder));
        for (int i = CMD_GotoBookmark1; i <= CMD_GotoBookmark0; ++i)
            list.push_back(i);
        static const int kRest[] = {CMD_ShowBookmark,     CMD_ShowHScrollBar, CMD_ShowVScrollBar,
                                    CMD_HideHScrollBar,   CMD_HideVScrollBar, CMD_ToggleHScrollBar,
                                    CMD_ToggleVScrollBar, CMD_FullScreen,     CMD_ShowSubtitle,
                                    CMD_SetKeyBind,       CMD_Copy,           CMD_Search,
                                    CMD_SearchNext,       CMD_SearchPrev,     CMD_ForwardPage,
                                    CMD_BackPage,         CMD_Config,         CMD_Help,
                                    CMD_Version,          CMD_Exit,           CMD_LayoutSet,
                                    CMD_ShowProperty,     CMD_ShowDocInfo};
        list.insert(list.end(), std::begin(kRest), std::end(kRest));
        return list;
    }();
    return order;
}

}  // namespace Yomibon

// Config: the settings property sheet.
#include "app/config_dlg.h"
#include "app/main_window.h"
#include "settings/txt_param.h"

namespace Yomibon {

void CYbMainWindow::cmdConfig() {
    CYbTxtConfigDlg dlg(param_, this);
    // The display page's apply re-applies the rendering settings and rebuilds the pages.
    dlg.setSettingsChangedFunc([this] { menuCommand(ID_SettingsChanged); });
    if (messageHook_)
        dlg.setMessageFunc(
            [this](const std::u16string& text, const std::u16string&) { messageHook_(text); });
    dlg.exec();
    autoSave_.load(param_);
    setChecked(ID_BOOKMARK_AUTOSAVE, autoSave_.enabled());
    readFlipInterval();
}

}  // namespace Yomibon

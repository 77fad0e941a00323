#include "layout/shinsho_txt_layout.h"

namespace Yomibon {

void CYbShinShoTate2TxtLayout::SetDefault() {
    SetBuiltInBase(20600, 18200, 68, 20);
    AddBox(TextLayout, {11100, 1500, 19600, 9100, 17, 20});
    AddBox(TextLayout, {11100, 9600, 19600, 17200, 17, 20});
    AddBox(TextLayout, {1000, 1500, 9500, 9100, 17, 20});
    AddBox(TextLayout, {1000, 9600, 9500, 17200, 17, 20});
    AddBox(NombreLayout, {1000, 300, 1900, 600, 17, 40});
    AddBox(NombreLayout, {18900, 300, 19800, 600, 17, 40});
    AddBox(RunningHeadsLayout, {2500, 300, 10300, 600, 17, 40});
    AddBox(NoteLayout, {0, 1500, 1000, 17200, 4, 64});
    fileName_.clear();
    layoutName_.clear();
}

int CYbShinShoTate2TxtLayout::ShowSettingsDialog(void* parent, CYbLayoutDialogHost* host) {
    if (host) host->ShowShinshoDialog(parent, *this);
    return 0;
}

}  // namespace Yomibon

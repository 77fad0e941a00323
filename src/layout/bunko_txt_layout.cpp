#include "layout/bunko_txt_layout.h"

namespace Yomibon {

int CYbBunkoTxtLayout::ShowSettingsDialog(void* parent, CYbLayoutDialogHost* host) {
    if (host) host->ShowBunkoDialog(parent, *this);
    return 0;
}

}  // namespace Yomibon

// The paperback (bunko) page: one text box per page.
#pragma once

#include "layout/txt_layout.h"

namespace Yomibon {

class CYbBunkoTxtLayout : public CYbTxtLayout {
  public:
    static constexpr std::u16string_view kTypeName = u"BUNKO 1.0";

    CYbBunkoTxtLayout() { SetDefault(); }
    void SetDefault() override { SetBunkoDefault(); }
    std::u16string GetTypeName() const override { return std::u16string(kTypeName); }
    int ShowSettingsDialog(void* parent, CYbLayoutDialogHost* host) override;
};

}  // namespace Yomibon

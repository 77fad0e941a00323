// The two-tier shinsho page: two text boxes per page, upper tier first.
#pragma once

#include "layout/txt_layout.h"

namespace Yomibon {

class CYbShinShoTate2TxtLayout : public CYbTxtLayout {
  public:
    static constexpr std::u16string_view kTypeName = u"SHINSHOTATE2 1.0";

    CYbShinShoTate2TxtLayout() { SetDefault(); }
    void SetDefault() override;
    std::u16string GetTypeName() const override { return std::u16string(kTypeName); }
    int ShowSettingsDialog(void* parent, CYbLayoutDialogHost* host) override;
};

}  // namespace Yomibon

// The document's layout: any .lay file, whatever its type; the bunko layout when built in.
#pragma once

#include "layout/txt_layout.h"

namespace Yomibon {

class CYbCustomTxtLayout : public CYbTxtLayout {
  public:
    CYbCustomTxtLayout() { SetDefault(); }
    void SetDefault() override { SetBunkoDefault(); }
    bool IsLayoutRows(const CYbCSVText&) const override { return true; }
    bool IsLayoutFile(const char16_t*) const override { return true; }
    // The stored type, or "Custom 1.0" while none is stored.
    std::u16string GetTypeName() const override {
        return layoutType_.empty() ? u"Custom 1.0" : layoutType_;
    }
    int ShowSettingsDialog(void*, CYbLayoutDialogHost*) override { return 0; }
};

}  // namespace Yomibon

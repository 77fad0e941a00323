// A real reader window for offscreen tests: settings of its own (no bookmark auto-save, direct
// connections; no page-flip animation unless the given settings ask for it), messages handed
// to the test instead of shown, and the window shown and exposed before its deferred first open.
#pragma once

#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "render/bitmap.h"
#include "settings/txt_param.h"

namespace Yomibon::Test {

struct TestWindowOptions {
    std::unique_ptr<CYbTxtParam> param;  // fresh settings when empty
    std::filesystem::path keyFile;       // none: the default bindings
    QRect geometry{0, 0, 1200, 800};
    std::function<void(const std::u16string&)> onMessage = [](const std::u16string&) {};
};

// Replaces `window` (and the settings it uses) by a new window.
inline CYbMainWindow& MakeTestWindow(std::unique_ptr<CYbMainWindow>& window,
                                     std::unique_ptr<CYbTxtParam>& param,
                                     TestWindowOptions options = {}) {
    window.reset();
    if (!options.param) {
        options.param = std::make_unique<CYbTxtParam>();
        options.param->SetBoolean(u"PageFlip", false);
    }
    param = std::move(options.param);
    param->SetBoolean(u"BookMarkAutoSave", false);
    // Test servers are on the loopback interface: no proxy of the machine's environment.
    param->SetBoolean(u"UseIESetting", false);
    param->SetBoolean(u"UseProxy", false);
    window = std::make_unique<CYbMainWindow>(*param);
    window->setKeyFile(options.keyFile);
    window->setMessageHook(std::move(options.onMessage));
    window->setGeometry(options.geometry);
    window->show();
    [[maybe_unused]] bool exposed = QTest::qWaitForWindowExposed(window.get());
    window->initialize(u"");
    return *window;
}

// Pixels of a canvas that are clearly red (pictures may be drawn partly transparent, so not
// necessarily pure red); paper, ink and page numbers are grey.
inline int RedPixels(const CYbBitmap& bitmap) {
    int count = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const uint32_t pixel = bitmap.pixel(x, y);
            const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
            if (r > 200 && g < 100 && b < 100) ++count;
        }
    return count;
}

}  // namespace Yomibon::Test

// A document opened from notation, arranged in the built-in paperback layout and drawn on
// a page canvas of the given size.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

#include "layout/document_arranger.h"
#include "render/page_canvas.h"
#include "settings/txt_param.h"
#include "text/txt_document.h"

namespace Yomibon::Test {

struct CanvasFixture {
    CYbTxtParam param;
    CYbDocumentArranger* arranger = nullptr;
    std::unique_ptr<CYbTxtDocument> doc;
    std::unique_ptr<CYbPageCanvas> canvas;

    explicit CanvasFixture(std::u16string_view text, int width = 1200, int height = 800) {
        auto a = std::make_unique<CYbDocumentArranger>();
        arranger = a.get();
        doc = std::make_unique<CYbTxtDocument>(param, std::move(a));
        EXPECT_TRUE(doc->openText(text));
        canvas = std::make_unique<CYbPageCanvas>(param);
        canvas->setDocument(doc.get(), &arranger->layout());
        canvas->resize(width, height);
    }
    const PageMap& map() const { return canvas->mapper().charMap(); }
    const CYbBitmap& bitmap() const { return canvas->bitmap(); }
};

}  // namespace Yomibon::Test

// The page canvas: draws one spread of the open document into an off-screen bitmap and
// hands rectangles of it to the window.
#pragma once

#include <string>
#include <vector>

#include "layout/txt_mapper.h"
#include "render/bitmap.h"
#include "render/page_flip.h"
#include "render/run_painter.h"
#include "render/txt_renderer_mgr.h"

namespace Yomibon {

class CYbTxtDocument;
class CYbTxtLayout;
class CYbTxtParam;

// A rectangle of the canvas with a text shown while the pointer rests on it.
struct CanvasTooltip {
    MapRect rect;
    std::u16string text;
};

// A rectangle of a link's text.
struct CanvasLink {
    MapRect rect;
    int id = -1;
    std::u16string target;
};

class CYbPageCanvas : private CYbRunPainter {
  public:
    explicit CYbPageCanvas(const CYbTxtParam& param);
    CYbPageCanvas(const CYbPageCanvas&) = delete;
    CYbPageCanvas& operator=(const CYbPageCanvas&) = delete;

    // The document and the layout its pages follow (null: nothing loaded).
    void setDocument(CYbTxtDocument* document, const CYbTxtLayout* layout);
    // Makes the off-screen bitmap, fits the spread into it and sets the fonts.
    void resize(int width, int height);
    // Re-reads the rendering settings (colours, anti-aliasing, white transparency).
    void applySettings();

    // Draws the spread holding `page` (negative: the current one); returns the current page.
    int drawPage(int page);
    // As drawPage, but a step of exactly one spread starts the page-turn animation.
    int showPage(int page);
    // Copies a rectangle of the canvas (with the selection inverted) into target at the
    // same place shifted by the margins.
    void paintCanvas(CYbBitmap& target, const MapRect& rect, int marginX = 0, int marginY = 0);
    // Advances a running page turn by one frame; true if one was running before the step.
    bool flipStep();
    bool flipping() const { return flip_.inProgress(); }
    // Milliseconds between page-turn frames; 0 when pages turn without animation.
    int flipInterval() const;
    const CYbPageFlip& pageFlip() const { return flip_; }

    int currentPage() const { return page_; }
    const CYbBitmap& bitmap() const { return bitmap_; }
    CYbTxtMapper& mapper() { return mapper_; }
    const CYbTxtMapper& mapper() const { return mapper_; }
    CYbTxtRendererMgr& renderers() { return mgr_; }
    const std::vector<CanvasTooltip>& tooltips() const { return tooltips_; }
    const std::vector<CanvasLink>& links() const { return links_; }
    // The nombres and running head of the spread last drawn.
    const std::vector<TextInfo>& decorations() const { return decorations_; }
    void setHoveredLink(int id) { hoveredLink_ = id; }

  private:
    std::vector<TextInfo> pageDecorations(int page, int nextSpreadLine) const;
    void drawPictures(int page);
    void drawPicture(const MapRect& boxes, const TextInfo& run);
    void drawColumnText(std::u16string_view text, const MapRect& column, int slot);
    void drawChars(int line, int run, const TextInfo& info, int slot, int boldSlot,
                   bool offsets) override;
    void drawExternal(int line, int run, const TextInfo& info) override;
    void drawMarks(int line, int run, const TextInfo& info) override;
    void drawSideLine(int line, int run, const TextInfo& info) override;
    void drawNote(int line, int run, const TextInfo& info) override;
    void drawBoxRun(int line, int run) override;
    void drawRangeBox(int line, int run) override;
    void drawRepeatMark(int line, int run, const TextInfo& info) override;
    void drawDash(int line, int& run) override;
    void drawLink(int line, int run, const TextInfo& info) override;
    void drawDecorations(int pageCount);
    void drawSelection(CYbBitmap& copy, const MapRect& rect) const;
    bool entryOnSpread(const TextPoint& key, PageMapEntry& entry, bool needSize) const {
        return EntryOnSpread(mapper_, key, entry, needSize);
    }

    const CYbTxtParam& param_;
    CYbTxtDocument* document_ = nullptr;
    const CYbTxtLayout* layout_ = nullptr;
    CYbBitmap bitmap_;
    CYbTxtMapper mapper_;
    CYbTxtRendererMgr mgr_;
    std::u16string background_;
    int page_ = 0;
    int noteCounter_ = 0;
    int hoveredLink_ = -1;
    std::vector<TextInfo> decorations_;
    std::vector<CanvasTooltip> tooltips_;
    std::vector<CanvasLink> links_;
    CYbPageFlip flip_;
};

}  // namespace Yomibon

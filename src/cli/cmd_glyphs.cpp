// yomibon-cli glyphs --out sheet.png: sample characters with every glyph renderer,
// vertical and horizontal at two sizes, and every shipped external glyph beside the
// characters it marks, each on a faint cell grid.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "render/char_4nn_renderer.h"
#include "render/char_8nn_renderer.h"
#include "render/char_lcd_renderer.h"
#include "render/png_writer.h"
#include "text/text_types.h"

namespace Yomibon::Cli {
namespace {

constexpr char16_t kSample[] = u"あかさたなアカサタナ漢字書物語「」『』（）。、ー…―〜！？AgQy19";
constexpr int kSizes[] = {16, 40};
constexpr int kMargin = 24;
constexpr uint32_t kGridPixel = 0x00E4E4E4;
constexpr uint32_t kPaperPixel = 0x00FFFFFF;

struct SheetOptions {
    double spacing = 0;
    bool centering = false;
};

std::unique_ptr<CYbCharKNNRenderer> MakeRenderer(int kind) {
    if (kind == 0) return std::make_unique<CYbChar4NNRenderer>();
    if (kind == 1) return std::make_unique<CYbChar8NNRenderer>();
    return std::make_unique<CYbCharLCDRenderer>();
}

void Configure(CYbCharRenderer& r, int size, bool vertical, const SheetOptions& options) {
    LogFont font;
    font.lfHeight = size;
    font.lfFaceName = vertical ? u"@IPA明朝" : u"IPA明朝";
    font.lfEscapement = font.lfOrientation = vertical ? 2700 : 0;
    r.setColor(0x000000);
    r.setFont(font);
    if (vertical) r.setProperty(u"FontSpacing", FromUtf8(std::to_string(options.spacing)));
    r.setProperty(u"FontCentering", options.centering ? u"1" : u"0");
}

void Frame(CYbBitmap& b, int x, int y, int w, int h) {
    for (int i = x; i <= x + w; ++i)
        for (int j : {y, y + h})
            if (i >= 0 && i < b.width() && j >= 0 && j < b.height()) b.pixel(i, j) = kGridPixel;
    for (int j = y; j <= y + h; ++j)
        for (int i : {x, x + w})
            if (i >= 0 && i < b.width() && j >= 0 && j < b.height()) b.pixel(i, j) = kGridPixel;
}

std::vector<std::u16string> Characters(std::u16string_view s) {
    std::vector<std::u16string> out;
    for (size_t i = 0; i < s.size(); i += UnitsAt(s, i))
        out.emplace_back(s.substr(i, UnitsAt(s, i)));
    return out;
}

// Horizontal rows on the left, vertical columns on the right; returns the bottom.
int DrawSamples(CYbBitmap& sheet, const SheetOptions& options) {
    auto chars = Characters(kSample);
    int y = kMargin;
    int columnX = kMargin + int(chars.size()) * 40 + 2 * kMargin;
    for (int kind = 0; kind < 3; ++kind) {
        for (int size : kSizes) {
            auto horizontal = MakeRenderer(kind);
            auto vertical = MakeRenderer(kind);
            Configure(*horizontal, size, false, options);
            Configure(*vertical, size, true, options);
            for (size_t i = 0; i < chars.size(); ++i) {
                int x = kMargin + int(i) * size;
                Frame(sheet, x, y, size, size);
                horizontal->drawString(sheet, x, y, chars[i]);
                int vy = kMargin + int(i) * size;
                Frame(sheet, columnX, vy, size, size);
                vertical->drawString(sheet, columnX, vy, chars[i]);
            }
            y += size + 12;
            columnX += size + 16;
        }
        y += 12;
    }
    return std::max(y, kMargin + int(chars.size()) * 40) + kMargin;
}

bool IsLeftSide(std::u16string_view name) {
    return name.rfind(u"左", 0) == 0;
}

// Each glyph beside a column of three characters, as a page places it, with its name.
void DrawExternalGlyphs(CYbBitmap& sheet, int top, const SheetOptions& options) {
    constexpr int size = 40, pitch = 96;
    CYbChar4NNRenderer body, label;
    Configure(body, size, true, options);
    Configure(label, 12, false, options);
    std::vector<std::u16string> names;
    for (int t = 2; t <= 29; ++t)
        names.emplace_back(TypeName(t));
    const std::u16string base = u"字の傍";
    for (size_t n = 0; n < names.size(); ++n) {
        int col = int(n % 15), row = int(n / 15);
        int x = kMargin + size + col * pitch, y = top + row * (4 * size + 40);
        const std::u16string& name = names[n];
        int markX = IsLeftSide(name) ? x - size : name == u"取消線" ? x : x + size;
        for (int i = 0; i < 3; ++i) {
            Frame(sheet, x, y + i * size, size, size);
            Frame(sheet, markX, y + i * size, size, size);
            body.drawString(sheet, x, y + i * size, base.substr(size_t(i), 1));
        }
        bool line = name.find(u"線") != std::u16string::npos;
        if (line) {
            body.drawTextRect(sheet, markX, y, size, 3 * size, name.c_str(), 0);
        } else {
            for (int i = 0; i < 3; ++i)
                body.drawGlyph(sheet, markX, y + i * size, name);
        }
        auto chars = Characters(name);
        for (size_t i = 0; i < chars.size(); ++i)
            label.drawString(sheet, x - size / 2 + int(i) * 12, y + 3 * size + 8, chars[i]);
    }
    // A long dash stretched over three cells, and the two-cell repeat marks.
    int x = kMargin + size + 13 * pitch, y = top + 4 * size + 40;
    for (int i = 0; i < 3; ++i) {
        Frame(sheet, x, y + i * size, size, size);
        Frame(sheet, x + pitch, y + i * size, size, size);
    }
    body.drawTextRect(sheet, x, y, size, 3 * size, u"―", 1);
    body.drawGlyph(sheet, x + pitch, y, u"／");
    body.drawGlyph(sheet, x + pitch, y + size, u"＼");
    body.drawString(sheet, x + pitch, y + 2 * size, u"〻");
}

int RunGlyphs(const Args& args) {
    std::string out = Option(args, "--out", "glyphs.png");
    SheetOptions options;
    options.spacing = std::atof(Option(args, "--spacing", "0").c_str());
    options.centering = HasFlag(args, "--centering");
    const int count = int(Characters(kSample).size());
    const int width = 3 * kMargin + count * 40 + 3 * (16 + 40 + 32) + kMargin;
    const int samples = kMargin + count * 40 + kMargin;
    CYbBitmap sheet(std::max(width, 14 * 96 + 3 * kMargin), samples + 2 * (4 * 40 + 40) + kMargin);
    sheet.fill(kPaperPixel);
    int bottom = DrawSamples(sheet, options);
    DrawExternalGlyphs(sheet, bottom, options);
    if (!WritePng(sheet, out)) {
        std::fprintf(stderr, "yomibon-cli glyphs: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s\n", out.c_str());
    return 0;
}

const Registrar kRegistrar{
    {"glyphs", "[--out sheet.png] [--spacing 1.2] [--centering]", RunGlyphs}};

}  // namespace
}  // namespace Yomibon::Cli

// A picture refused by the size limits is not drawn, and the reader is told why, once per
// file; the spread around it is drawn as usual.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "layout/document_arranger.h"
#include "platform/paths.h"
#include "render/page_canvas.h"
#include "render/pict_test_files.h"
#include "render/picture_loader.h"
#include "render/picture_png.h"
#include "render/picture_refusal.h"
#include "settings/txt_param.h"
#include "support/test_support.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

namespace fs = std::filesystem;
namespace Files = ::Yomibon::Test;

const fs::path kPictures = fs::path(YB_TEST_DATA) / "pictures";

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

const uint8_t* Data(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

TEST(PictureRefusal, DecodersTellTheSizeTheyRefused) {
    const std::string png = ReadBytes(kPictures / "claims_100000x100000.png");
    ASSERT_EQ(png.size(), 40u);
    TakePictureRefusal();
    CYbBitmap out;
    EXPECT_FALSE(DecodePng(Data(png), png.size(), out));
    std::optional<PictureRefusal> refusal = TakePictureRefusal();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->width, 100'000u);
    EXPECT_EQ(refusal->height, 100'000u);
    EXPECT_FALSE(TakePictureRefusal());  // taken once

    std::string gif = Files::MakeGif(2, 2, {{0, 0, 0}, {255, 255, 255}}, {0, 1, 1, 0}, -1);
    gif[6] = gif[7] = gif[8] = gif[9] = char(0xFF);  // logical screen 65535 x 65535
    SystemPicture picture;
    EXPECT_FALSE(LoadSystemPicture(Data(gif), gif.size(), picture));
    refusal = TakePictureRefusal();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->width, 65'535u);

    std::string bmp = Files::MakeBmp24(2, 2, std::vector<uint8_t>(12, 7));
    bmp[18] = bmp[19] = bmp[20] = char(0xFF);  // width 16,777,215
    EXPECT_FALSE(LoadSystemPicture(Data(bmp), bmp.size(), picture));
    refusal = TakePictureRefusal();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->width, 16'777'215u);
    EXPECT_EQ(refusal->height, 2u);

    // Damage that is not a size leaves nothing to tell.
    const std::string whole = Files::MakePng(4, 4, 2, 8, std::vector<uint8_t>(4 * 13, 50));
    EXPECT_FALSE(DecodePng(Data(whole), whole.size() / 2, out));
    EXPECT_FALSE(TakePictureRefusal());
    EXPECT_TRUE(DecodePng(Data(whole), whole.size(), out));
    EXPECT_FALSE(TakePictureRefusal());
}

TEST(PictureRefusal, MessageNamesTheFileTheSizeAndTheLimit) {
    const std::u16string text = PictureRefusalMessage(u"挿絵.png", {100'000, 100'000});
    EXPECT_NE(text.find(u"画像「挿絵.png」は表示できません。"), std::u16string::npos);
    EXPECT_NE(text.find(u"100000 × 100000 ピクセル"), std::u16string::npos);
    EXPECT_NE(text.find(u"上限 1 億ピクセル"), std::u16string::npos);
}

TEST(PictureRefusal, SpreadIsDrawnAndTheReaderToldOncePerFile) {
    // The pictures lie beside the text, which is opened from its folder.
    Files::TempDir dir;
    fs::copy_file(kPictures / "claims_100000x100000.png", dir.path() / "huge.png");
    Files::WriteFile(dir.path() / "ok.png",
                     Files::MakePng(8, 8, 2, 8, std::vector<uint8_t>(8 * 25, 90)));
    Files::WriteFile(dir.path() / "text.txt",
                     "絵\r\n誰か\r\n\r\n前の文［＃挿絵（huge.png、横200×縦200）入る］後の文\r\n"
                     "［＃挿絵（ok.png、横200×縦200）入る］\r\n［＃挿絵（missing.png）入る］\r\n"
                     "終わり\r\n");
    CYbTxtParam param;
    auto arranger = std::make_unique<CYbDocumentArranger>();
    const CYbTxtLayout& layout = arranger->layout();
    CYbTxtDocument doc(param, std::move(arranger));
    ASSERT_TRUE(doc.openFile(FromFsPath(dir.path() / "text.txt")));
    CYbPageCanvas canvas(param);
    canvas.setDocument(&doc, &layout);
    canvas.resize(1200, 800);
    for (int page = 0; page <= doc.getPageCount(); page += 2)
        canvas.drawPage(page);
    std::vector<std::u16string> notices = canvas.renderers().takeNotices();
    ASSERT_EQ(notices.size(), 1u);  // a missing file is shown by its frame, not a message
    EXPECT_NE(notices[0].find(u"画像「huge.png」は表示できません。"), std::u16string::npos);
    EXPECT_NE(notices[0].find(u"100000 × 100000"), std::u16string::npos);
    // The good picture beside it was drawn; drawing again tells nothing new.
    const PictureCache& cache = canvas.renderers().pictureCache();
    ASSERT_TRUE(cache.count(u"ok.png"));
    EXPECT_FALSE(cache.at(u"ok.png").bitmap.empty());
    for (int page = 0; page <= doc.getPageCount(); page += 2)
        canvas.drawPage(page);
    EXPECT_TRUE(canvas.renderers().takeNotices().empty());
}

}  // namespace
}  // namespace Yomibon

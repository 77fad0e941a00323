#include "platform/codepage.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucsdet.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/sjis_table.h"

namespace Yomibon {
namespace {

struct NameRow {
    int codePage;
    const char* converter;  // ICU converter name
    const char* detected;   // name the detector reports
};

constexpr NameRow kNames[] = {
    {CP_SHIFT_JIS, "windows-31j", "Shift_JIS"},
    {CP_UTF8, "UTF-8", "UTF-8"},
    {CP_UTF16LE, "UTF-16LE", "UTF-16LE"},
    {CP_UTF16BE, "UTF-16BE", "UTF-16BE"},
    {CP_EUC_JP, "EUC-JP", "EUC-JP"},
    {CP_ISO_2022_JP, "ISO-2022-JP", "ISO-2022-JP"},
    {CP_WINDOWS_1252, "windows-1252", "windows-1252"},
    {CP_WINDOWS_1252, "windows-1252", "ISO-8859-1"},
};

// Length of a UTF-8 sequence from its lead byte, 0 when the byte cannot lead.
int Utf8SequenceLength(unsigned char b) {
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return 2;
    if (b >= 0xE0 && b <= 0xEF) return 3;
    if (b >= 0xF0 && b <= 0xF4) return 4;
    return 0;
}

// Valid UTF-8 with at least one multi-byte sequence; a sequence cut off by the end of
// the sample counts as valid.
bool LooksLikeUtf8(const unsigned char* p, size_t n) {
    bool multiByte = false;
    for (size_t i = 0; i < n;) {
        int len = Utf8SequenceLength(p[i]);
        if (len == 0) return false;
        for (int k = 1; k < len; ++k) {
            if (i + k >= n) return multiByte || len > 1;
            if ((p[i + k] & 0xC0) != 0x80) return false;
        }
        multiByte |= len > 1;
        i += len;
    }
    return multiByte;
}

struct DetectorCloser {
    void operator()(UCharsetDetector* d) const { ucsdet_close(d); }
};
struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenStrictConverter(int codePage) {
    const char* name = CodePageName(codePage);
    if (!name) return nullptr;
    UErrorCode err = U_ZERO_ERROR;
    ConverterPtr conv(ucnv_open(name, &err));
    if (U_FAILURE(err)) return nullptr;
    ucnv_setToUCallBack(conv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    ucnv_setFromUCallBack(conv.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    return U_SUCCESS(err) ? std::move(conv) : nullptr;
}

// Writes one U+FFFD for each sequence the converter could not read.
void SubstituteReplacement(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                           UConverterCallbackReason reason, UErrorCode* err) {
    if (reason > UCNV_IRREGULAR) return;  // reset, close and clone need nothing
    *err = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, err);
}

}  // namespace

const char* CodePageName(int codePage) {
    for (const auto& row : kNames)
        if (row.codePage == codePage) return row.converter;
    return nullptr;
}

bool IsValidUtf8(const char* data, size_t size) {
    auto p = reinterpret_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size;) {
        int len = Utf8SequenceLength(p[i]);
        if (len == 0 || i + len > size) return false;
        for (int k = 1; k < len; ++k)
            if ((p[i + k] & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

int DetectCodePage(const char* data, size_t size) {
    size = std::min<size_t>(size, 512);
    auto p = reinterpret_cast<const unsigned char*>(data);
    if (size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) return CP_UTF8;
    if (size >= 2 && p[0] == 0xFF && p[1] == 0xFE) return CP_UTF16LE;
    if (size >= 2 && p[0] == 0xFE && p[1] == 0xFF) return CP_UTF16BE;
    if (LooksLikeUtf8(p, size)) return CP_UTF8;
    if (size == 0) return CP_UNKNOWN;
    UErrorCode err = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, DetectorCloser> det(ucsdet_open(&err));
    if (U_FAILURE(err)) return CP_UNKNOWN;
    ucsdet_setText(det.get(), data, int32_t(size), &err);
    const UCharsetMatch* match = ucsdet_detect(det.get(), &err);
    if (U_FAILURE(err) || !match) return CP_UNKNOWN;
    const char* name = ucsdet_getName(match, &err);
    if (U_FAILURE(err) || !name) return CP_UNKNOWN;
    for (const auto& row : kNames)
        if (std::strcmp(row.detected, name) == 0) return row.codePage;
    return CP_UNKNOWN;
}

bool ConvertToUtf16(int codePage, const char* data, size_t size, std::u16string& out) {
    out.clear();
    ConverterPtr conv = OpenStrictConverter(codePage);
    if (!conv) return false;
    out.resize(size * 2 + 2);
    UErrorCode err = U_ZERO_ERROR;
    int32_t len =
        ucnv_toUChars(conv.get(), out.data(), int32_t(out.size()), data, int32_t(size), &err);
    if (U_FAILURE(err)) {
        out.clear();
        return false;
    }
    out.resize(size_t(len));
    // A byte-order mark is not text.
    bool unicode = codePage == CP_UTF8 || codePage == CP_UTF16LE || codePage == CP_UTF16BE;
    if (unicode && !out.empty() && out[0] == u'\uFEFF') out.erase(0, 1);
    return true;
}

bool ConvertToUtf16Lenient(int codePage, const char* data, size_t size, std::u16string& out) {
    out.clear();
    if (codePage == CP_SHIFT_JIS) return DecodeShiftJis(data, size, out);
    ConverterPtr conv = OpenStrictConverter(codePage);
    if (!conv) return false;
    UErrorCode err = U_ZERO_ERROR;
    ucnv_setToUCallBack(conv.get(), SubstituteReplacement, nullptr, nullptr, nullptr, &err);
    if (U_FAILURE(err)) return false;
    // No code page here gives more UTF-16 units than bytes, one replacement per bad byte
    // at worst; the loop grows the buffer all the same should one ever do so.
    out.resize(size + 16);
    const char* source = data;
    const char* end = data + size;
    size_t written = 0;
    for (;;) {
        UChar* target = out.data() + written;
        err = U_ZERO_ERROR;
        ucnv_toUnicode(conv.get(), &target, out.data() + out.size(), &source, end, nullptr, true,
                       &err);
        written = size_t(target - out.data());
        if (err != U_BUFFER_OVERFLOW_ERROR) break;
        out.resize(out.size() + out.size() / 2 + 16);
    }
    if (U_FAILURE(err)) {
        out.clear();
        return false;
    }
    out.resize(written);
    bool unicode = codePage == CP_UTF8 || codePage == CP_UTF16LE || codePage == CP_UTF16BE;
    if (unicode && !out.empty() && out[0] == u'\uFEFF') out.erase(0, 1);
    return true;
}

bool ConvertFromUtf16(int codePage, const std::u16string& text, std::string& out) {
    out.clear();
    ConverterPtr conv = OpenStrictConverter(codePage);
    if (!conv) return false;
    out.resize(text.size() * 4 + 4);
    UErrorCode err = U_ZERO_ERROR;
    int32_t len = ucnv_fromUChars(conv.get(), out.data(), int32_t(out.size()), text.data(),
                                  int32_t(text.size()), &err);
    if (U_FAILURE(err)) {
        out.clear();
        return false;
    }
    out.resize(size_t(len));
    return true;
}

}  // namespace Yomibon

#include "platform/sjis_table.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace Yomibon {
namespace {

constexpr const char* kConverterName = "windows-31j";

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

bool IsLeadByte(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Position of a lead byte among the lead bytes (0x81–0x9F, then 0xE0–0xFC).
unsigned LeadSlot(unsigned b) {
    return b <= 0x9F ? b - 0x81 : b - 0xE0 + 31;
}

constexpr unsigned kLeadCount = 31 + 29;

// What the converter makes of every one-byte and two-byte sequence that stands for one
// UTF-16 unit. A byte is a character of its own (kSingle), the lead of a row of pairs (the
// row's offset into `pair`), or neither (kSlow); a zero pair entry (no pair means U+0000)
// sends the decoder to the converter as well.
constexpr int32_t kSingle = -1;
constexpr int32_t kSlow = -2;

struct ShiftJisTable {
    std::array<char16_t, 256> single{};
    std::array<int32_t, 256> row{};
    std::array<char16_t, kLeadCount * 256> pair{};
    bool valid = false;
};

// Converts groups of `stride` bytes (a sequence of `length` bytes, then line feeds that bring
// the converter back to the start of a character) in one call, skipping what it cannot read,
// and hands over each group whose sequence gave exactly one unit.
template <typename Found>
bool Probe(UConverter* conv, const std::string& bytes, size_t stride, size_t length, Found found) {
    std::u16string units(bytes.size() * 2, u'\0');
    std::vector<int32_t> offsets(units.size(), -1);
    UChar* target = reinterpret_cast<UChar*>(units.data());
    const char* source = bytes.data();
    UErrorCode err = U_ZERO_ERROR;
    ucnv_resetToUnicode(conv);
    ucnv_toUnicode(conv, &target, target + units.size(), &source, bytes.data() + bytes.size(),
                   offsets.data(), true, &err);
    if (U_FAILURE(err)) return false;
    const size_t count = size_t(target - reinterpret_cast<UChar*>(units.data()));
    // A sequence read whole gives a unit at its group's start and the next unit at the line
    // feed after it; a bad one gives nothing there, a two-unit one two units at the start.
    for (size_t i = 0; i + 1 < count; ++i) {
        const int32_t at = offsets[i];
        if (at < 0 || size_t(at) % stride != 0 || offsets[i + 1] != at + int32_t(length)) continue;
        found(size_t(at) / stride, units[i]);
    }
    return true;
}

ShiftJisTable BuildTable() {
    ShiftJisTable table;
    UErrorCode err = U_ZERO_ERROR;
    ConverterPtr conv(ucnv_open(kConverterName, &err));
    if (U_FAILURE(err)) return table;
    ucnv_setToUCallBack(conv.get(), UCNV_TO_U_CALLBACK_SKIP, nullptr, nullptr, nullptr, &err);
    if (U_FAILURE(err)) return table;
    std::string singles;
    for (unsigned b = 0; b < 256; ++b) {
        singles += char(b);
        singles += "\n\n";
        table.row[b] = IsLeadByte(b) ? int32_t(LeadSlot(b) * 256) : kSlow;
    }
    auto single = [&](size_t b, char16_t u) {
        if (IsLeadByte(unsigned(b))) return;
        table.single[b] = u;
        table.row[b] = kSingle;
    };
    if (!Probe(conv.get(), singles, 3, 1, single)) return table;
    for (unsigned lead = 0; lead < 256; ++lead) {
        if (!IsLeadByte(lead)) continue;
        std::string pairs;
        for (unsigned t = 0; t < 256; ++t) {
            pairs += char(lead);
            pairs += char(t);
            pairs += "\n\n";
        }
        const size_t row = LeadSlot(lead) * 256;
        auto pair = [&](size_t t, char16_t u) { table.pair[row + t] = u; };
        if (!Probe(conv.get(), pairs, 4, 2, pair)) return table;
    }
    table.valid = true;
    return table;
}

const ShiftJisTable& Table() {
    static const ShiftJisTable table = BuildTable();
    return table;
}

// Writes one U+FFFD for each sequence the converter could not read.
void SubstituteReplacement(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                           UConverterCallbackReason reason, UErrorCode* err) {
    if (reason > UCNV_IRREGULAR) return;  // reset, close and clone need nothing
    *err = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, err);
}

// The converter for the stretches the table does not hold: from a bad sequence to the end
// of its line (a line feed is never part of a two-byte character, so the converter has
// nothing pending there and the rest of the text decodes as it would in one pass).
class SlowPath {
  public:
    bool open() {
        UErrorCode err = U_ZERO_ERROR;
        conv_.reset(ucnv_open(kConverterName, &err));
        if (U_FAILURE(err)) return false;
        ucnv_setToUCallBack(conv_.get(), SubstituteReplacement, nullptr, nullptr, nullptr, &err);
        return U_SUCCESS(err);
    }

    // Decodes from `at` to the end of a line where nothing is pending; returns where the
    // table can take over again.
    [[gnu::noinline]] size_t decode(const char* data, size_t size, size_t at, std::u16string& out,
                                    size_t& written) {
        const char* source = data + at;
        const char* end = source;
        do {
            const void* feed = std::memchr(end, '\n', size_t(data + size - end));
            end = feed ? static_cast<const char*>(feed) + 1 : data + size;
            bool flush = end == data + size;
            for (;;) {
                UChar* target = reinterpret_cast<UChar*>(out.data()) + written;
                UErrorCode err = U_ZERO_ERROR;
                ucnv_toUnicode(conv_.get(), &target,
                               reinterpret_cast<UChar*>(out.data()) + out.size(), &source, end,
                               nullptr, flush, &err);
                written = size_t(target - reinterpret_cast<UChar*>(out.data()));
                if (err != U_BUFFER_OVERFLOW_ERROR) break;
                out.resize(out.size() + out.size() / 2 + 16);
            }
        } while (end != data + size && ucnv_toUCountPending(conv_.get(), nullptr) != 0);
        return size_t(end - data);
    }

  private:
    ConverterPtr conv_;
};

// Decodes from `i` as far as the table holds the sequences (the whole text, as a rule) and
// returns where it stopped. Kept apart from the converter's path so that the loop keeps
// its few values in registers.
size_t DecodeByTable(const ShiftJisTable& table, const unsigned char* bytes, size_t i, size_t size,
                     char16_t* out, size_t& written) {
    char16_t* o = out + written;
    while (i < size) {
        const unsigned b = bytes[i];
        const int32_t row = table.row[b];
        if (row == kSingle) {
            *o++ = table.single[b];
            ++i;
            continue;
        }
        if (row < 0 || i + 1 >= size) break;
        const char16_t u = table.pair[size_t(row) + bytes[i + 1]];
        if (u == 0) break;
        *o++ = u;
        i += 2;
    }
    written = size_t(o - out);
    return i;
}

}  // namespace

bool DecodeShiftJis(const char* data, size_t size, std::u16string& out) {
    const ShiftJisTable& table = Table();
    if (!table.valid) return false;
    size_t written = out.size();
    // One unit per byte at most, from the table and from the converter's replacements.
    out.resize(written + size + 16);
    auto bytes = reinterpret_cast<const unsigned char*>(data);
    SlowPath slow;
    bool slowOpen = false;
    for (size_t i = 0;;) {
        i = DecodeByTable(table, bytes, i, size, out.data(), written);
        if (i >= size) break;
        if (!slowOpen && !(slowOpen = slow.open())) return false;
        i = slow.decode(data, size, i, out, written);
    }
    out.resize(written);
    return true;
}

}  // namespace Yomibon

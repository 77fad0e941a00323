// Builds small enhanced metafiles record by record for the glyph tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace Yomibon::Test {

class EmfBuilder {
  public:
    // A picture frame of `cell` x `cell` reference pixels (10 pixels to the millimetre).
    explicit EmfBuilder(int cell = 1000) : cell_(cell) {}

    EmfBuilder& record(uint32_t type, std::initializer_list<int32_t> words) {
        std::vector<int32_t> w(words);
        return recordWords(type, w);
    }
    EmfBuilder& recordWords(uint32_t type, const std::vector<int32_t>& words) {
        put(body_, type);
        put(body_, uint32_t(8 + 4 * words.size()));
        for (int32_t v : words)
            put(body_, uint32_t(v));
        ++records_;
        return *this;
    }
    // Raw payload bytes (padded to 4).
    EmfBuilder& recordBytes(uint32_t type, std::string payload) {
        while (payload.size() % 4)
            payload.push_back('\0');
        put(body_, type);
        put(body_, uint32_t(8 + payload.size()));
        body_ += payload;
        ++records_;
        return *this;
    }
    EmfBuilder& palette(uint32_t entries) {
        palEntries_ = entries;
        return *this;
    }
    // Solid brush 1 selected, pen none.
    EmfBuilder& solidBrush() {
        record(39, {1, 0, 0, 0});
        record(37, {1});
        return record(37, {int32_t(0x80000008)});
    }
    EmfBuilder& rect(int l, int t, int r, int b) { return record(43, {l, t, r, b}); }

    std::string bytes() const {
        std::string out;
        std::string eof;
        put(eof, 14u);
        put(eof, 20u);
        put(eof, 0u);
        put(eof, 16u);
        put(eof, 20u);
        uint32_t total = uint32_t(88 + body_.size() + eof.size());
        put(out, 1u);
        put(out, 88u);
        for (int v : {0, 0, cell_ - 1, cell_ - 1})
            put(out, uint32_t(v));
        for (int v : {0, 0, cell_ * 10, cell_ * 10})
            put(out, uint32_t(v));
        put(out, 0x464D4520u);
        put(out, 0x10000u);
        put(out, total);
        put(out, uint32_t(records_ + 2));
        put(out, 4u);  // handles (16 bits) and reserved (16 bits)
        put(out, 0u);
        put(out, 0u);
        put(out, palEntries_);
        for (int v : {cell_, cell_, cell_ / 10, cell_ / 10})
            put(out, uint32_t(v));
        return out + body_ + eof;
    }

  private:
    static void put(std::string& s, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            s.push_back(char((v >> (8 * i)) & 0xFF));
    }

    int cell_;
    std::string body_;
    int records_ = 0;
    uint32_t palEntries_ = 0;
};

}  // namespace Yomibon::Test

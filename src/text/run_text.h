// The characters of one run: either a string of the run's own or a view of characters its
// line keeps for all of its runs (one allocation per line instead of one per run). Twelve
// bytes aligned to four: a text has one of these per run, hundreds of thousands in a novel.
#pragma once

#include <compare>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace Yomibon {

class CYbRunText {
  public:
    using size_type = size_t;
    using const_iterator = const char16_t*;
    using iterator = const char16_t*;
    static constexpr size_t npos = std::u16string_view::npos;

    CYbRunText() { setData(u""); }
    CYbRunText(std::u16string_view s) { assign(s); }
    CYbRunText(const std::u16string& s) { assign(s); }
    CYbRunText(const char16_t* s) { assign(std::u16string_view(s)); }
    CYbRunText(const CYbRunText& other) { copyFrom(other); }
    CYbRunText(CYbRunText&& other) noexcept : size_(other.size_), owned_(other.owned_) {
        std::memcpy(data_, other.data_, sizeof(data_));
        other.release();
    }
    ~CYbRunText() { freeOwned(); }

    CYbRunText& operator=(const CYbRunText& other);
    CYbRunText& operator=(CYbRunText&& other) noexcept {
        if (this != &other) {
            freeOwned();
            std::memcpy(data_, other.data_, sizeof(data_));
            size_ = other.size_;
            owned_ = other.owned_;
            other.release();
        }
        return *this;
    }
    CYbRunText& operator=(std::u16string_view s) {
        assign(s);
        return *this;
    }
    CYbRunText& operator=(const std::u16string& s) { return *this = std::u16string_view(s); }
    CYbRunText& operator=(const char16_t* s) { return *this = std::u16string_view(s); }

    // Refers to characters kept elsewhere, without copying them: the owner must keep them
    // unchanged for as long as this text (or a copy of it) is read.
    static CYbRunText View(std::u16string_view s) {
        CYbRunText t;
        t.setData(s.empty() ? u"" : s.data());
        t.size_ = uint32_t(s.size());
        return t;
    }
    // Makes the text a view of the same number of characters at p (a copy of them).
    void rebind(const char16_t* p) {
        freeOwned();
        setData(p);
    }
    // Whether the characters are this text's own rather than a view.
    bool owned() const { return owned_; }

    size_t size() const { return size_; }
    size_t length() const { return size_; }
    bool empty() const { return size_ == 0; }
    const char16_t* data() const {
        const char16_t* p;
        std::memcpy(&p, data_, sizeof(p));
        return p;
    }
    // Terminated once the text is its own or its line has gathered it (see LineInfo::pack).
    const char16_t* c_str() const { return data(); }
    const char16_t* begin() const { return data(); }
    const char16_t* end() const { return data() + size_; }
    char16_t operator[](size_t i) const { return data()[i]; }
    char16_t front() const { return data()[0]; }
    char16_t back() const { return data()[size_ - 1]; }
    std::u16string_view view() const { return {data(), size_}; }
    operator std::u16string_view() const { return view(); }
    operator std::u16string() const { return std::u16string(view()); }

    std::u16string substr(size_t pos, size_t n = npos) const {
        return std::u16string(view().substr(pos, n));
    }
    size_t find(char16_t c, size_t pos = 0) const { return view().find(c, pos); }
    size_t find(std::u16string_view s, size_t pos = 0) const { return view().find(s, pos); }
    bool starts_with(std::u16string_view s) const { return view().starts_with(s); }
    bool starts_with(char16_t c) const { return view().starts_with(c); }
    bool ends_with(std::u16string_view s) const { return view().ends_with(s); }
    int compare(std::u16string_view s) const { return view().compare(s); }
    int compare(size_t pos, size_t n, std::u16string_view s) const {
        return view().compare(pos, n, s);
    }

    // Shortens or lengthens the text (which then is its own).
    void resize(size_t n);
    void clear() { resize(0); }
    // Drops the first n units; a view stays a view (and its end terminated).
    void removePrefix(size_t n);
    CYbRunText& operator+=(std::u16string_view s);

    friend bool operator==(const CYbRunText& a, const CYbRunText& b) {
        return a.view() == b.view();
    }
    friend bool operator==(const CYbRunText& a, std::u16string_view b) { return a.view() == b; }
    friend bool operator==(const CYbRunText& a, const std::u16string& b) { return a.view() == b; }
    friend bool operator==(const CYbRunText& a, const char16_t* b) {
        return a.view() == std::u16string_view(b);
    }
    friend auto operator<=>(const CYbRunText& a, const CYbRunText& b) {
        return a.view() <=> b.view();
    }
    friend std::u16string operator+(const std::u16string& a, const CYbRunText& b) {
        std::u16string out(a);
        out += b.view();
        return out;
    }

  private:
    void assign(std::u16string_view s);
    void copyFrom(const CYbRunText& other);
    void setData(const char16_t* p) { std::memcpy(data_, &p, sizeof(p)); }
    void freeOwned() {
        if (owned_) delete[] data();
        owned_ = false;
    }
    void release() {
        setData(u"");
        size_ = 0;
        owned_ = false;
    }

    // The address kept as two halves, so that the text needs only four-byte alignment and
    // a run (TextInfo) packs into 36 bytes rather than 40.
    uint32_t data_[sizeof(const char16_t*) / sizeof(uint32_t)] = {};
    uint32_t size_ : 31 = 0;
    uint32_t owned_ : 1 = 0;
};

}  // namespace Yomibon

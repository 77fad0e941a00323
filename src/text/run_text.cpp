#include "text/run_text.h"

#include <algorithm>
#include <utility>

namespace Yomibon {
namespace {

// A terminated copy of s on the heap.
const char16_t* Duplicate(std::u16string_view a, std::u16string_view b = {}) {
    auto* p = new char16_t[a.size() + b.size() + 1];
    std::copy(a.begin(), a.end(), p);
    std::copy(b.begin(), b.end(), p + a.size());
    p[a.size() + b.size()] = 0;
    return p;
}

}  // namespace

CYbRunText& CYbRunText::operator=(const CYbRunText& other) {
    if (this != &other) {
        // The source may be a view of this text's own characters: copy before freeing.
        CYbRunText copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void CYbRunText::assign(std::u16string_view s) {
    // s may lie within this text's own characters: copy it before freeing them.
    const char16_t* p = s.empty() ? u"" : Duplicate(s);
    freeOwned();
    setData(p);
    size_ = uint32_t(s.size());
    owned_ = !s.empty();
}

void CYbRunText::copyFrom(const CYbRunText& other) {
    if (other.owned_)
        assign(other.view());
    else
        setData(other.data()), size_ = other.size_, owned_ = false;
}

void CYbRunText::resize(size_t n) {
    if (n <= size_) {
        if (n == 0) {
            freeOwned();
            release();
            return;
        }
        if (owned_) {
            const_cast<char16_t*>(data())[n] = 0;
            size_ = uint32_t(n);
            return;
        }
        // A view shortened is no longer terminated where it ends: own the characters.
        assign(view().substr(0, n));
        return;
    }
    std::u16string grown(view());
    grown.resize(n);
    assign(grown);
}

void CYbRunText::removePrefix(size_t n) {
    n = std::min<size_t>(n, size_);
    if (owned_) {
        assign(view().substr(n));
        return;
    }
    setData(data() + n);
    size_ -= uint32_t(n);
}

CYbRunText& CYbRunText::operator+=(std::u16string_view s) {
    if (s.empty()) return *this;
    const char16_t* p = Duplicate(view(), s);
    const uint32_t size = uint32_t(size_ + s.size());
    freeOwned();
    setData(p);
    size_ = size;
    owned_ = true;
    return *this;
}

}  // namespace Yomibon

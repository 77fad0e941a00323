#include "render/pdf_tools.h"

#include <sys/wait.h>
#include <cstdio>
#include <fstream>

namespace Yomibon::Test {

bool HaveTools(const std::vector<std::string>& programs) {
    for (const auto& p : programs)
        if (std::system(("command -v " + p + " >/dev/null 2>&1").c_str()) != 0) return false;
    return true;
}

std::string RunCommand(const std::string& command, int* status) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        if (status) *status = -1;
        return out;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    int rc = pclose(pipe);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

std::string Quoted(const std::filesystem::path& path) {
    std::string out = "'";
    for (char c : path.string()) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

GreyPicture ReadPnm(const std::filesystem::path& file) {
    GreyPicture pic;
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, max = 0;
    if (!(in >> magic >> width >> height >> max) || (magic != "P5" && magic != "P6") || width < 1 ||
        height < 1 || max != 255)
        return pic;
    in.get();
    const int channels = magic == "P6" ? 3 : 1;
    std::vector<uint8_t> raw(size_t(width) * size_t(height) * size_t(channels));
    if (!in.read(reinterpret_cast<char*>(raw.data()), std::streamsize(raw.size()))) return pic;
    pic.width = width;
    pic.height = height;
    pic.pixels.resize(size_t(width) * size_t(height));
    for (size_t i = 0; i < pic.pixels.size(); ++i) {
        int sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += raw[i * size_t(channels) + size_t(c)];
        pic.pixels[i] = uint8_t(sum / channels);
    }
    return pic;
}

GreyPicture GreyOf(const CYbBitmap& bitmap) {
    GreyPicture pic;
    pic.width = bitmap.width();
    pic.height = bitmap.height();
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            uint32_t p = bitmap.pixel(x, y);
            pic.pixels.push_back(
                uint8_t(((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) / 3));
        }
    return pic;
}

std::vector<bool> InkedCells(const GreyPicture& picture, int cell, int minInk) {
    const int columns = picture.width / cell, rows = picture.height / cell;
    std::vector<int> counts(size_t(columns) * size_t(rows), 0);
    for (int y = 0; y < rows * cell; ++y)
        for (int x = 0; x < columns * cell; ++x)
            if (picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)] < 128)
                ++counts[size_t(y / cell) * size_t(columns) + size_t(x / cell)];
    std::vector<bool> out;
    for (int c : counts)
        out.push_back(c >= minInk);
    return out;
}

double InkAgreement(const std::vector<bool>& a, const std::vector<bool>& b) {
    if (a.size() != b.size()) return 0;
    size_t both = 0, either = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        both += a[i] && b[i];
        either += a[i] || b[i];
    }
    return either ? double(both) / double(either) : 1.0;
}

namespace {
std::u16string WithoutSpace(const std::u16string& s) {
    std::u16string out;
    for (char16_t c : s)
        if (c != u' ' && c != u'\n' && c != u'\r' && c != u'\t' && c != u'\u3000' && c != u'\f')
            out += c;
    return out;
}
}  // namespace

double InOrderCoverage(const std::u16string& expected, const std::u16string& actual,
                       size_t window) {
    const std::u16string want = WithoutSpace(expected), have = WithoutSpace(actual);
    if (want.empty()) return 1.0;
    size_t at = 0, found = 0;
    for (char16_t c : want) {
        size_t end = std::min(have.size(), at + window);
        for (size_t i = at; i < end; ++i)
            if (have[i] == c) {
                at = i + 1;
                ++found;
                break;
            }
    }
    return double(found) / double(want.size());
}

}  // namespace Yomibon::Test

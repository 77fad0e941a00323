#include "archive/archive_maker.h"

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <cstdint>

namespace Yomibon::Test {

const char kMelosShiftJis[] = "\x91\x96\x82\xea\x83\x81\x83\x8d\x83\x58";
const char kMelosUtf8[] = "走れメロス";

namespace {

bool WriteWith(const std::filesystem::path& path, const std::vector<ArchiveItem>& items,
               int (*setFormat)(archive*)) {
    archive* writer = archive_write_new();
    bool ok = setFormat(writer) == ARCHIVE_OK &&
              archive_write_open_filename(writer, path.c_str()) == ARCHIVE_OK;
    for (const ArchiveItem& item : items) {
        if (!ok) break;
        archive_entry* entry = archive_entry_new();
        archive_entry_copy_pathname(entry, item.name.c_str());
        archive_entry_set_mtime(entry, 1700000000, 0);
        if (item.kind == ArchiveItem::FOLDER) {
            archive_entry_set_filetype(entry, AE_IFDIR);
            archive_entry_set_perm(entry, 0755);
        } else if (item.kind == ArchiveItem::SYMLINK) {
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_perm(entry, 0777);
            archive_entry_copy_symlink(entry, item.data.c_str());
        } else {
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_perm(entry, 0644);
            archive_entry_set_size(entry, static_cast<la_int64_t>(item.data.size()));
        }
        ok = archive_write_header(writer, entry) >= ARCHIVE_WARN;
        if (ok && item.kind == ArchiveItem::FILE && !item.data.empty())
            ok = archive_write_data(writer, item.data.data(), item.data.size()) ==
                 static_cast<la_ssize_t>(item.data.size());
        archive_entry_free(entry);
    }
    ok = archive_write_close(writer) == ARCHIVE_OK && ok;
    archive_write_free(writer);
    return ok;
}

uint16_t Crc16(const std::string& data) {
    uint16_t crc = 0;
    for (unsigned char byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

void Put16(std::string& out, uint32_t value) {
    out.push_back(char(value & 0xFF));
    out.push_back(char((value >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

template <typename Write>
bool WithUtf8Locale(Write write) {
    const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    const locale_t previous = utf8 != locale_t(0) ? uselocale(utf8) : locale_t(0);
    const bool ok = write();
    if (previous != locale_t(0)) uselocale(previous);
    if (utf8 != locale_t(0)) freelocale(utf8);
    return ok;
}

}  // namespace

bool WriteZip(const std::filesystem::path& path, const std::vector<ArchiveItem>& items,
              bool utf8Names) {
    if (!utf8Names) return WriteWith(path, items, archive_write_set_format_zip);
    // Written under a UTF-8 locale the names carry the UTF-8 flag.
    return WithUtf8Locale([&] { return WriteWith(path, items, archive_write_set_format_zip); });
}

bool Write7z(const std::filesystem::path& path, const std::vector<ArchiveItem>& items) {
    // 7z stores names as UTF-16, converted from the thread's locale: make that UTF-8.
    return WithUtf8Locale([&] { return WriteWith(path, items, archive_write_set_format_7zip); });
}

namespace {

// Level 0: a byte-sized header with a byte checksum; the folder is part of the name.
std::string LhaLevel0(const ArchiveItem& item) {
    std::string header = "-lh0-";
    Put32(header, static_cast<uint32_t>(item.data.size()));  // packed size
    Put32(header, static_cast<uint32_t>(item.data.size()));  // original size
    Put32(header, 0x5A210000);                               // MS-DOS time and date
    header.push_back(0x20);                                  // attribute: archive
    header.push_back(0);                                     // header level
    header.push_back(char(item.name.size()));
    header += item.name;
    Put16(header, Crc16(item.data));
    unsigned sum = 0;
    for (unsigned char c : header)
        sum += c;
    return std::string(1, char(header.size())) + char(sum & 0xFF) + header;
}

void PutExtension(std::string& header, char type, const std::string& data) {
    Put16(header, static_cast<uint32_t>(data.size() + 3));
    header.push_back(type);
    header += data;
}

// Level 2: fixed part, then extension headers for the header CRC, the file name and the
// folder (parts ended by 0xFF), closed by a zero size; the CRC covers the whole header.
std::string LhaLevel2(const ArchiveItem& item) {
    const size_t cut = item.name.find_last_of('\\');
    const std::string file = cut == std::string::npos ? item.name : item.name.substr(cut + 1);
    std::string folder = cut == std::string::npos ? "" : item.name.substr(0, cut + 1);
    for (char& c : folder)
        if (c == '\\') c = char(0xFF);
    std::string header = "xx-lh0-";
    Put32(header, static_cast<uint32_t>(item.data.size()));
    Put32(header, static_cast<uint32_t>(item.data.size()));
    Put32(header, 1700000000);  // Unix time
    header.push_back(0x20);
    header.push_back(2);
    Put16(header, Crc16(item.data));
    header.push_back('w');  // made on Windows
    const size_t crcAt = header.size() + 3;
    PutExtension(header, 0x00, std::string(2, '\0'));
    PutExtension(header, 0x01, file);
    if (!folder.empty()) PutExtension(header, 0x02, folder);
    Put16(header, 0);
    header[0] = char(header.size() & 0xFF);
    header[1] = char(header.size() >> 8);
    const uint16_t crc = Crc16(header);
    header[crcAt] = char(crc & 0xFF);
    header[crcAt + 1] = char(crc >> 8);
    return header;
}

}  // namespace

std::string MakeLha(const std::vector<ArchiveItem>& items, int level) {
    std::string out;
    for (const ArchiveItem& item : items)
        out += (level == 2 ? LhaLevel2(item) : LhaLevel0(item)) + item.data;
    out.push_back('\0');  // end of archive
    return out;
}

}  // namespace Yomibon::Test

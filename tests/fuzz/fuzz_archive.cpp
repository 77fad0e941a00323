// Archive extraction (ZIP, 7z, LHA, told apart by their leading bytes) into a scratch
// folder, which is emptied again after each input.
#include <cstring>

#include "archive/archive_unpacker.h"
#include "fuzz_support.h"

namespace {

Yomibon::ArchiverKind KindOf(const uint8_t* data, size_t size) {
    using Yomibon::ArchiverKind;
    if (size >= 2 && data[0] == 'P' && data[1] == 'K') return ArchiverKind::Zip;
    if (size >= 2 && data[0] == '7' && data[1] == 'z') return ArchiverKind::SevenZip;
    return ArchiverKind::Lha;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace Yomibon;
    const auto archive = Fuzz::WriteScratchFile("input.arc", data, size);
    const auto folder = Fuzz::ScratchFolder() / "out";
    // Small limits, so that a bomb is found quickly.
    UnpackLimits limits;
    limits.maxBytes = 64 << 20;
    limits.maxEntries = 1000;
    CYbArchiveUnpacker unpacker(KindOf(data, size), limits);
    unpacker.Check(archive.string(), false);
    UnpackReport report;
    unpacker.Unpack(archive.string(), folder.string(), {}, report);
    // Nothing may have been written beside the folder.
    for (const auto& entry : std::filesystem::directory_iterator(Fuzz::ScratchFolder()))
        if (entry.path() != archive && entry.path() != folder) __builtin_trap();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}

// Comma-separated tables: decoding and splitting, then writing back and reading again.
#include <cstdlib>

#include "fuzz_support.h"
#include "settings/csv_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace Yomibon;
    const std::u16string text = CYbCSVText::Decode(Fuzz::Bytes(data, size));
    CYbCSVText table;
    for (auto& row : CYbCSVText::Parse(text))
        table.AppendRow(std::move(row));
    // What is written is read back as the same rows.
    const std::string bytes = table.Encode();
    const auto again = CYbCSVText::Parse(CYbCSVText::Decode(bytes));
    if (again.size() != table.GetRowCount()) std::abort();
    for (size_t r = 0; r < again.size(); ++r)
        if (again[r] != table.GetRow(r) && !(again[r].empty() || table.GetRow(r).empty()))
            std::abort();
    return 0;
}

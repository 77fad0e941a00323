#include "library/catalogue_work.h"

namespace Yomibon {
namespace {

std::u16string Join(const std::vector<CataloguePerson>& persons, bool readings) {
    std::u16string out;
    for (const CataloguePerson& p : persons) {
        if (!out.empty()) out += u"、";
        out += readings ? p.reading : p.name;
        if (!readings && !p.role.empty() && p.role != u"著者") out += u"(" + p.role + u")";
    }
    return out;
}

}  // namespace

std::u16string CatalogueWork::authors() const {
    return Join(persons, false);
}

std::u16string CatalogueWork::authorsReading() const {
    return Join(persons, true);
}

}  // namespace Yomibon

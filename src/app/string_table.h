// The program's user-visible texts, 40000-40080, in one place.
#pragma once

#include <string>
#include <string_view>

namespace Yomibon {

enum : int {
    IDS_FIRST = 40000,
    IDS_LAST = 40080,
    IDS_CONFIG = 40000,
    IDS_FONT_NOT_FOUND = 40001,
    IDS_TATENAKA_RANGE = 40002,
    IDS_FLIP_RANGE = 40003,
    IDS_KEY_ALREADY_BOUND = 40032,
    IDS_CONFIRM = 40033,
    IDS_ERROR = 40034,
    IDS_SELECT_FUNCTION = 40035,
    IDS_ENTER_KEY = 40036,
    IDS_NOT_FOUND = 40039,
    IDS_BOOKMARK_FOLDER = 40050,
    IDS_TEXT_FILES = 40051,
    IDS_SIORI_FILES = 40052,
    IDS_SAVE_SIORI = 40053,
    IDS_OPEN_FILE = 40054,
    IDS_ASSOCIATED = 40058,
    IDS_ASSOCIATE_FAILED = 40059,
    IDS_DISSOCIATED = 40060,
    IDS_DISSOCIATE_FAILED = 40061,
    IDS_IMAGE_FILES = 40066,
    IDS_CANNOT_OPEN = 40073,
    IDS_RATE_RANGE = 40078,
};

// The text of an id; empty for an id outside the table.
std::u16string_view LoadString(int id);

// The caption of every message box.
inline constexpr std::u16string_view kAppCaption = u"Yomibon";

}  // namespace Yomibon

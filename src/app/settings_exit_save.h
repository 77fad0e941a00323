// Saving the settings when the reader ends: a failure is not dropped. The user is told
// which file could not be written and may try again, save the settings elsewhere, or
// leave them unsaved.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace Yomibon {

class CYbTxtParam;

struct SettingsSaveChoice {
    enum Kind { RETRY, SAVE_AS, DISCARD } kind = DISCARD;
    std::filesystem::path path;  // where to save, for SAVE_AS
};

// Asked with a message naming the file that could not be written.
using SettingsSaveAsk = std::function<SettingsSaveChoice(const std::u16string& message)>;

// The message shown when the settings could not be saved to `file`.
std::u16string SettingsSaveFailedMessage(const std::filesystem::path& file);

// Saves the settings to `file`, asking after each failure until they are saved (true) or
// the user leaves them unsaved (false).
bool SaveSettingsAtExit(const CYbTxtParam& param, const std::filesystem::path& file,
                        const SettingsSaveAsk& ask);

}  // namespace Yomibon

#include "app/settings_exit_save.h"

#include "platform/format.h"
#include "platform/paths.h"
#include "settings/txt_param.h"

namespace Yomibon {

std::u16string SettingsSaveFailedMessage(const std::filesystem::path& file) {
    return FormatMessage(
        u"設定を保存できませんでした。\n%1!s!\n\n"
        u"ファイルに書き込めないか、読み込めなかった部分があるため上書きしませんでした。"
        u"［再試行］でもう一度保存し、［別名で保存］で別のファイルに保存します。"
        u"［破棄］を選ぶと今回の設定の変更は失われます。",
        {FromFsPath(file)});
}

bool SaveSettingsAtExit(const CYbTxtParam& param, const std::filesystem::path& file,
                        const SettingsSaveAsk& ask) {
    std::filesystem::path target = file;
    while (!param.Save(target)) {
        if (!ask) return false;
        SettingsSaveChoice choice = ask(SettingsSaveFailedMessage(target));
        if (choice.kind == SettingsSaveChoice::DISCARD) return false;
        if (choice.kind == SettingsSaveChoice::SAVE_AS && !choice.path.empty())
            target = choice.path;
    }
    return true;
}

}  // namespace Yomibon

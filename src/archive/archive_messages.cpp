#include "archive/archive_messages.h"

#include "archive/archive_base.h"
#include "platform/format.h"

namespace Yomibon {

int ArchiveMessageId(int result) {
    switch (result) {
        case ARCHIVE_RESULT_OK:
            return 0;
        case ARCHIVE_RESULT_COMMAND_FAILED:
            return IDS_ARCHIVE_READ_FAILED;
        case ARCHIVE_RESULT_UNSUPPORTED:
            return IDS_ARCHIVE_UNSUPPORTED;
        case ARCHIVE_RESULT_MISSING:
            return IDS_ARCHIVE_NOT_FOUND;
        case ARCHIVE_RESULT_NO_LIBRARY:
            return IDS_ARCHIVE_DLL_NOT_FOUND;
        case ARCHIVE_RESULT_BUSY:
            return IDS_ARCHIVE_DLL_RUNNING;
        case ARCHIVE_RESULT_TOO_LARGE:
            return IDS_ARCHIVE_TOO_LARGE;
        default:
            return IDS_ARCHIVE_FAILED;
    }
}

std::u16string_view ArchiveMessageText(int id) {
    switch (id) {
        case IDS_ARCHIVE_READ_FAILED:
        case IDS_ARCHIVE_FAILED:
            return u"書庫ファイル(%1!s!)の読み込みに失敗しました。";
        case IDS_ARCHIVE_UNSUPPORTED:
            return u"書庫ファイル(%1!s!)の形式はサポート対象外です。";
        case IDS_ARCHIVE_NOT_FOUND:
            return u"書庫ファイル(%1!s!)が見つかりませんでした。";
        case IDS_ARCHIVE_DLL_NOT_FOUND:
            return u"DLL(%2!s!)が見つかりませんでした。";
        case IDS_ARCHIVE_DLL_RUNNING:
            return u"DLL(%2!s!)が動作中です。";
        case IDS_ARCHIVE_TOO_LARGE:
            return u"書庫ファイル(%1!s!)は展開すると大きすぎるため(ファイルの数、大きさ、"
                   u"圧縮率のいずれかが上限を超えています)、展開を中止しました。";
        default:
            return {};
    }
}

std::u16string FormatArchiveMessage(int result, std::u16string_view archivePath,
                                    std::u16string_view dllName) {
    return FormatMessage(ArchiveMessageText(ArchiveMessageId(result)),
                         {std::u16string(archivePath), std::u16string(dllName)});
}

}  // namespace Yomibon

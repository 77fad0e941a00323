// The Japanese message of a failed fetch: the address, then the reason in plain words.
#include <string>

#include "platform/net.h"
#include "platform/utf16.h"

namespace Yomibon {
namespace {

std::u16string U(std::string_view s) {
    return FromUtf8(s);
}

std::u16string Number(long long n) {
    return U(std::to_string(n));
}

std::u16string StatusPhrase(long code) {
    switch (code) {
        case 400:
            return u"要求が正しくありません";
        case 401:
            return u"認証が必要です";
        case 403:
            return u"アクセスが禁止されています";
        case 404:
            return u"ページが見つかりません";
        case 410:
            return u"ページは削除されました";
        case 429:
            return u"要求が多すぎます";
        case 500:
            return u"サーバー内部のエラー";
        case 502:
            return u"ゲートウェイのエラー";
        case 503:
            return u"サービスを利用できません";
        case 504:
            return u"ゲートウェイが時間切れになりました";
        default:
            return {};
    }
}

std::u16string Reason(std::string_view url, const NetResult& r) {
    NetUrlParts parts;
    SplitNetUrl(url, parts);
    switch (r.status) {
        case NetStatus::OK:
            return {};
        case NetStatus::BAD_URL:
            return u"アドレスの形が正しくありません。";
        case NetStatus::REFUSED_SCHEME:
            if (!r.finalUrl.empty() && r.finalUrl != url)
                return u"転送先「" + U(r.finalUrl) +
                       u"」は開けません（転送は http と https のみ）。";
            return u"「" + U(parts.scheme) +
                   u":」のアドレスは開けません（開けるのは http、https、file のみです）。";
        case NetStatus::HOST_NOT_FOUND: {
            NetUrlParts last;
            SplitNetUrl(r.finalUrl.empty() ? url : std::string_view(r.finalUrl), last);
            return u"ホスト「" + U(last.host) + u"」が見つかりません。";
        }
        case NetStatus::UNREACHABLE: {
            NetUrlParts last;
            SplitNetUrl(r.finalUrl.empty() ? url : std::string_view(r.finalUrl), last);
            return u"ホスト「" + U(last.host) + u"」に接続できません。";
        }
        case NetStatus::PROXY_UNREACHABLE:
            return u"プロキシ「" + U(r.detail) + u"」に接続できません。";
        case NetStatus::HTTP_ERROR: {
            std::u16string phrase = StatusPhrase(r.httpStatus);
            return u"サーバーがエラー " + Number(r.httpStatus) +
                   (phrase.empty() ? u"" : u"（" + phrase + u"）") + u" を返しました。";
        }
        case NetStatus::TIMEOUT:
            return u"サーバーの応答がないまま " + Number((long long)(r.elapsedMs / 1000 + 0.5)) +
                   u" 秒で時間切れになりました。";
        case NetStatus::TOO_LARGE:
            return u"大きすぎるため読み込みを止めました（上限 " +
                   Number((long long)(Limits::kMaxDownloadBytes >> 20)) + u" MB）。";
        case NetStatus::TOO_MANY_REDIRECTS:
            return u"転送（リダイレクト）が多すぎます（" + Number(r.redirects) + u" 回まで）。";
        case NetStatus::CANCELLED:
            return u"読み込みを中止しました。";
        case NetStatus::FILE_ERROR:
            return u"ファイルを読み込めません。";
        case NetStatus::FAILED:
            break;
    }
    return u"通信エラー：" + U(r.detail);
}

}  // namespace

std::u16string NetFailureMessage(std::string_view url, const NetResult& result) {
    if (result.ok()) return {};
    return u"「" + U(url) + u"」を開けませんでした。\n" + Reason(url, result);
}

}  // namespace Yomibon

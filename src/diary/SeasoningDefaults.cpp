#include "diary/SeasoningDefaults.h"

namespace morv {

SeasoningList BuiltInSeasonings() {
    return {{
        {QStringLiteral("食塩(小さじ)"), QStringLiteral("6.0")},
        {QStringLiteral("食塩ひとつまみ(指3本)"), QStringLiteral("1.2")},
        {QStringLiteral("食塩少々(指2本)"), QStringLiteral("0.8")},
        {QStringLiteral("濃い口しょうゆ(小さじ)"), QStringLiteral("0.9")},
        {QStringLiteral("ウスターソース(小さじ)"), QStringLiteral("0.5")},
        {QStringLiteral("みそ(小さじ)"), QStringLiteral("0.7")},
        {QStringLiteral("ケチャップ(小さじ)"), QStringLiteral("0.2")},
        {QStringLiteral("ドレッシング(小さじ)"), QStringLiteral("0.2")},
        {QStringLiteral("麺つゆ(小さじ)"), QStringLiteral("0.2")},
        {QStringLiteral("ポン酢しょうゆ(小さじ)"), QStringLiteral("0.5")},
        {QStringLiteral("オイスターソース(小さじ)"), QStringLiteral("0.4")},
        {QStringLiteral("マヨネーズ(小さじ)"), QStringLiteral("0.1")},
        {QStringLiteral("バター(小さじ)"), QStringLiteral("0.1")},
        {QStringLiteral("ナンプラー(小さじ)"), QStringLiteral("1.3")},
        {QStringLiteral("豆板醤(小さじ)"), QStringLiteral("1.2")},
        {QStringLiteral("テンメンジャン(小さじ)"), QStringLiteral("0.4")},
        {QStringLiteral("カレールー(１かけ)"), QStringLiteral("2.0")},
        {QStringLiteral("ブイヨン(1個)"), QStringLiteral("2.3")},
        {QStringLiteral("固形コンソメ(1個)"), QStringLiteral("2.5")},
        {QStringLiteral("和風だし(小さじ)"), QStringLiteral("1.3")},
    }};
}

}  // namespace morv

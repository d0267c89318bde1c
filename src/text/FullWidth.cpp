#include "text/FullWidth.h"

#include <iterator>

namespace morv {
namespace {

constexpr char16_t kVoicedMark = u'\uFF9E';      // ﾞ
constexpr char16_t kSemiVoicedMark = u'\uFF9F';  // ﾟ

// Half-width katakana and punctuation U+FF61..U+FF9F, in code order.
constexpr char16_t kKana[] = {
    u'\u3002', u'\u300C', u'\u300D', u'\u3001', u'\u30FB',  // ｡ ｢ ｣ ､ ･
    u'\u30F2',                                              // ｦ
    u'\u30A1', u'\u30A3', u'\u30A5', u'\u30A7', u'\u30A9',  // ｧ ｨ ｩ ｪ ｫ
    u'\u30E3', u'\u30E5', u'\u30E7', u'\u30C3',             // ｬ ｭ ｮ ｯ
    u'\u30FC',                                              // ｰ
    u'\u30A2', u'\u30A4', u'\u30A6', u'\u30A8', u'\u30AA',  // ｱ ｲ ｳ ｴ ｵ
    u'\u30AB', u'\u30AD', u'\u30AF', u'\u30B1', u'\u30B3',  // ｶ ｷ ｸ ｹ ｺ
    u'\u30B5', u'\u30B7', u'\u30B9', u'\u30BB', u'\u30BD',  // ｻ ｼ ｽ ｾ ｿ
    u'\u30BF', u'\u30C1', u'\u30C4', u'\u30C6', u'\u30C8',  // ﾀ ﾁ ﾂ ﾃ ﾄ
    u'\u30CA', u'\u30CB', u'\u30CC', u'\u30CD', u'\u30CE',  // ﾅ ﾆ ﾇ ﾈ ﾉ
    u'\u30CF', u'\u30D2', u'\u30D5', u'\u30D8', u'\u30DB',  // ﾊ ﾋ ﾌ ﾍ ﾎ
    u'\u30DE', u'\u30DF', u'\u30E0', u'\u30E1', u'\u30E2',  // ﾏ ﾐ ﾑ ﾒ ﾓ
    u'\u30E4', u'\u30E6', u'\u30E8',                        // ﾔ ﾕ ﾖ
    u'\u30E9', u'\u30EA', u'\u30EB', u'\u30EC', u'\u30ED',  // ﾗ ﾘ ﾙ ﾚ ﾛ
    u'\u30EF', u'\u30F3',                                   // ﾜ ﾝ
    u'\u309B', u'\u309C',                                   // ﾞ ﾟ as spacing marks
};
static_assert(std::size(kKana) == 0xFF9F - 0xFF61 + 1);

// The full-width kana a voiced mark may join. Their voiced forms follow them
// directly in the code chart (カ+1 = ガ); ウ and its ヴ are the exception. ワ
// and ヲ are left out on purpose: their voiced forms have no CP932 code and
// would be lost when the data is saved.
char16_t Voiced(char16_t kana) {
    if ((kana >= u'\u30AB' && kana <= u'\u30C2' && (kana - u'\u30AB') % 2 == 0) ||  // カ..チ
        kana == u'\u30C4' || kana == u'\u30C6' || kana == u'\u30C8' ||              // ツ テ ト
        (kana >= u'\u30CF' && kana <= u'\u30DB' && (kana - u'\u30CF') % 3 == 0))    // ハ..ホ
        return kana + 1;
    if (kana == u'\u30A6') return u'\u30F4';  // ヴ
    return 0;
}

char16_t SemiVoiced(char16_t kana) {
    if (kana >= u'\u30CF' && kana <= u'\u30DB' && (kana - u'\u30CF') % 3 == 0) return kana + 2;
    return 0;
}

}  // namespace

QString ToFullWidth(QStringView text) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u' ') {
            out.append(QChar(u'\u3000'));
        } else if (c >= u'!' && c <= u'~') {
            out.append(QChar(char16_t(c - u'!' + u'\uFF01')));
        } else if (c >= u'\uFF61' && c <= u'\uFF9F') {
            const char16_t kana = kKana[c - u'\uFF61'];
            const char16_t next = i + 1 < n ? text[i + 1].unicode() : 0;
            char16_t joined = 0;
            if (next == kVoicedMark)
                joined = Voiced(kana);
            else if (next == kSemiVoicedMark)
                joined = SemiVoiced(kana);
            if (joined) {
                out.append(QChar(joined));
                ++i;
            } else {
                out.append(QChar(kana));
            }
        } else {
            out.append(QChar(c));
        }
    }
    return out;
}

}  // namespace morv

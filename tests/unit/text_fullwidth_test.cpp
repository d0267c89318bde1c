#include "text/FullWidth.h"

#include "text/Cp932.h"

#include <gtest/gtest.h>

using namespace morv;

TEST(FullWidth, ConvertsCharacters) {
    struct Case {
        const char16_t* text;
        const char16_t* wide;
    };
    const Case cases[] = {
        {u"", u""},
        {u"ABC 12", u"ＡＢＣ　１２"},
        {u"!~", u"！～"},
        {u"a\\b\"c'", u"ａ＼ｂ＂ｃ＇"},
        {u"ｱｲｳｴｵ", u"アイウエオ"},
        {u"ﾜｦﾝｰ", u"ワヲンー"},
        {u"ｧｨｩｪｫｬｭｮｯ", u"ァィゥェォャュョッ"},
        {u"｡｢｣､･", u"。「」、・"},
        // Sound marks join the kana they belong to.
        {u"ｶﾞｷﾞｸﾞｹﾞｺﾞ", u"ガギグゲゴ"},
        {u"ｻﾞｼﾞｽﾞｾﾞｿﾞ", u"ザジズゼゾ"},
        {u"ﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞ", u"ダヂヅデド"},
        {u"ﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ", u"バビブベボ"},
        {u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", u"パピプペポ"},
        {u"ｳﾞ", u"ヴ"},
        {u"ﾐｿｼﾙ ｺﾞﾊﾝ", u"ミソシル　ゴハン"},
        // Marks that do not combine stay as spacing marks of their own.
        {u"ﾞ", u"\u309B"},
        {u"ﾟ", u"\u309C"},
        {u"ｱﾞ", u"ア\u309B"},
        {u"ｶﾟ", u"カ\u309C"},
        {u"ﾜﾞｦﾞ", u"ワ\u309Bヲ\u309B"},
        {u"ｯﾞ", u"ッ\u309B"},
        {u"ﾞｶ", u"\u309Bカ"},
        {u"ｶﾞﾞ", u"ガ\u309B"},
        {u"ｶﾞﾟ", u"ガ\u309C"},
        {u"ｶ ﾞ", u"カ　\u309B"},
        // A full-width kana is not joined with a half-width mark.
        {u"カﾞ", u"カ\u309B"},
        // Everything else is kept.
        {u"みそ汁、ＡＢＣ\u3000😀é\t\n\x7F", u"みそ汁、ＡＢＣ\u3000😀é\t\n\x7F"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(ToFullWidth(text), QString::fromUtf16(c.wide)) << text.toStdString();
    }
}

TEST(FullWidth, LeavesNoHalfWidthCharacterBehind) {
    // Every printable ASCII character and every half-width kana, alone and
    // followed by each sound mark: nothing of either range may survive, and
    // a second pass must change nothing.
    QString all;
    for (char16_t c = 0x20; c <= 0x7E; ++c) all.append(QChar(c));
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c) {
        all.append(QChar(c));
        all.append(QChar(c)).append(QChar(u'\uFF9E'));
        all.append(QChar(c)).append(QChar(u'\uFF9F'));
    }
    const QString wide = ToFullWidth(all);
    for (const QChar c : wide) {
        EXPECT_FALSE(c.unicode() >= 0x20 && c.unicode() <= 0x7E) << int(c.unicode());
        EXPECT_FALSE(c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F) << int(c.unicode());
    }
    EXPECT_EQ(ToFullWidth(wide), wide);
    // The data files are CP932: whatever the conversion makes must be
    // writable there without a stand-in character.
    EXPECT_EQ(DecodeCp932(EncodeCp932(wide)), wide);
}

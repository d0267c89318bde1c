#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace morv;

namespace {

QByteArray Bytes(const char* s, qsizetype n) { return QByteArray(s, n); }
QByteArray Bytes(const char* s) { return QByteArray(s); }

QString Escape(unsigned byte) { return QString(QChar(char16_t(Cp932ByteEscapeBase + byte))); }

std::string Hex(const QByteArray& b) { return b.toHex(' ').toStdString(); }

bool IsTwoByteLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The lead bytes of the rows that repeat characters found elsewhere in the
// table (NEC row 13 symbols, the NEC-selected IBM extensions, the IBM
// extensions). Text decoded from these may come back as the other code.
bool IsDuplicateRowLead(unsigned b) { return b == 0x87 || b == 0xED || b == 0xEE || b == 0xFA; }

bool HasByteEscape(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0xF780 && c.unicode() <= 0xF7FF) return true;
    }
    return false;
}

}  // namespace

TEST(Cp932, ConvertsBothWays) {
    struct Case {
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {Bytes(""), u""_qs},
        {Bytes("Morvaline 1.25\r\n"), u"Morvaline 1.25\r\n"_qs},
        // The files carry Windows paths: 0x5C must stay a backslash, not a yen.
        {Bytes("C:\\Users\\a"), u"C:\\Users\\a"_qs},
        {Bytes("~"), u"~"_qs},
        {Bytes("\x82\xDD\x82\xBB\x8F\x60"), u"みそ汁"_qs},
        {Bytes("\xB1\xDD\xDE"), u"\uFF71\uFF9D\uFF9E"_qs},  // half-width ｱﾝﾞ
        {Bytes("\x81\x66\x81\x68"), u"\u2019\u201D"_qs},
        {Bytes("\x81\x40"), u"\u3000"_qs},
        {Bytes("\x81\xAC"), u"\u3013"_qs},
        {Bytes("\x87\x40"), u"\u2460"_qs},  // circled 1, an NEC row 13 character
        {Bytes("\xF0\x40"), u"\uE000"_qs},  // user-defined area
        {Bytes("\x00\x1F\x7F", 3), QString(QChar(0)) + u"\x1F\x7F"_qs},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeCp932(c.bytes), c.text) << Hex(c.bytes);
        EXPECT_EQ(Hex(EncodeCp932(c.text)), Hex(c.bytes)) << c.text.toStdString();
    }
}

TEST(Cp932, EncodesWhatItCannotRepresentAsGetaMark) {
    const QString highAlone(QChar(char16_t(0xD83D)));
    const QString lowAlone(QChar(char16_t(0xDE00)));
    struct Case {
        QString text;
        QByteArray bytes;
    };
    const Case cases[] = {
        {u"😀"_qs, Bytes("\x81\xAC")},
        // Exactly one code point is replaced; its neighbours are untouched.
        {u"a😀b"_qs, Bytes("a\x81\xAC"
                          "b")},
        {u"😀😀"_qs, Bytes("\x81\xAC\x81\xAC")},
        {u"x\u00A6y\u00E9"_qs, Bytes("x\x81\xACy\x81\xAC")},
        {highAlone, Bytes("\x81\xAC")},
        {lowAlone + u"A"_qs, Bytes("\x81\xAC"
                                   "A")},
        {u"A"_qs + highAlone, Bytes("A\x81\xAC")},
        {lowAlone + highAlone, Bytes("\x81\xAC\x81\xAC")},
        {u"\uFFFD"_qs, Bytes("\x81\xAC")},
        // Private-use characters below the byte escapes are not bytes.
        {u"\uF77F\uF700"_qs, Bytes("\x81\xAC\x81\xAC")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Hex(EncodeCp932(c.text)), Hex(c.bytes)) << c.text.toStdString();
    }
}

TEST(Cp932, EscapesUndecodableBytesOneAtATime) {
    struct Case {
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {Bytes("\xFF"), Escape(0xFF)},
        {Bytes("\x80\xA0\xFD\xFE"), Escape(0x80) + Escape(0xA0) + Escape(0xFD) + Escape(0xFE)},
        // A lead byte cut off at the end of the data.
        {Bytes("a\x81"), u"a"_qs + Escape(0x81)},
        // A lead byte with a trail that cannot follow it: the trail is kept.
        {Bytes("\x81\x20z"), Escape(0x81) + u" z"_qs},
        // A well-formed pair in an unassigned row.
        {Bytes("\x85\x40"), Escape(0x85) + u"@"_qs},
        // The byte after a bad lead may start a good character of its own.
        {Bytes("\x85\x82\xA0"), Escape(0x85) + u"\u3042"_qs},
        {Bytes("\x82\xA0\xFF\x82\xA2"), u"\u3042"_qs + Escape(0xFF) + u"\u3044"_qs},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeCp932(c.bytes), c.text) << Hex(c.bytes);
        EXPECT_EQ(Hex(EncodeCp932(c.text)), Hex(c.bytes)) << Hex(c.bytes);
    }
}

// Every two-byte code either decodes to one character or to escapes, and every
// character encodes back to its own code except for the codes of the duplicate
// rows, which come back as the other code of the same character.
TEST(Cp932, EveryDoubleByteCodeRoundTripsOrIsAKnownDuplicate) {
    std::map<unsigned, int> duplicatesPerLead;
    int characters = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsTwoByteLead(lead)) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const char raw[2] = {char(lead), char(trail)};
            const QByteArray code(raw, 2);
            const QString text = DecodeCp932(code);
            const QByteArray back = EncodeCp932(text);
            ASSERT_FALSE(text.isEmpty()) << Hex(code);
            const char16_t first = text[0].unicode();
            if (first >= 0xF780 && first <= 0xF7FF) {
                EXPECT_EQ(back, code) << Hex(code);
                continue;
            }
            ASSERT_EQ(text.size(), 1) << Hex(code);
            ++characters;
            if (back == code) continue;
            ++duplicatesPerLead[lead];
            EXPECT_EQ(back.size(), 2) << Hex(code);
            EXPECT_EQ(DecodeCp932(back), text) << Hex(code) << " -> " << Hex(back);
        }
    }
    EXPECT_EQ(characters, 9604);
    const std::map<unsigned, int> expected = {{0x87, 9}, {0xED, 188}, {0xEE, 186}, {0xFA, 15}};
    EXPECT_EQ(duplicatesPerLead, expected);
}

TEST(Cp932, DuplicateCodesEncodeToThePreferredCode) {
    struct Case {
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {"\xED\x40", "\xFA\x5C"},                            // NEC-selected IBM kanji -> IBM extension
        {"\xEE\xEC", "\xFC\x4B"}, {"\xEE\xEF", "\xFA\x40"},  // small roman one
        {"\xEE\xF9", "\x81\xCA"},                            // not sign
        {"\xFA\x4A", "\x87\x54"},                            // roman one -> NEC row 13
        {"\xFA\x58", "\x87\x8A"},                            // parenthesised kabushiki
        {"\x87\x90", "\x81\xE0"},                            // approximately equal -> JIS row 2
        {"\x87\x9C", "\x81\xBE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Hex(EncodeCp932(DecodeCp932(Bytes(c.from)))), Hex(Bytes(c.to))) << Hex(Bytes(c.from));
    }
}

TEST(Cp932, RandomBytesSurviveDecodeAndEncode) {
    std::mt19937 rng(20240105);
    std::uniform_int_distribution<int> length(0, 48);
    std::uniform_int_distribution<int> byte(0, 255);
    int exactChecked = 0;
    for (int i = 0; i < 2000; ++i) {
        QByteArray bytes;
        const int n = length(rng);
        for (int k = 0; k < n; ++k) bytes.append(char(byte(rng)));

        const QString text = DecodeCp932(bytes);
        int controlBytes = 0;
        bool duplicateRow = false;
        for (const char b : bytes) {
            const auto u = static_cast<unsigned char>(b);
            if (u < 0x20 || u == 0x7F) ++controlBytes;
            if (IsDuplicateRowLead(u)) duplicateRow = true;
        }
        int controlChars = 0;
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            ASSERT_FALSE(u >= 0x80 && u <= 0x9F) << Hex(bytes);
            ASSERT_NE(u, 0xFFFD) << Hex(bytes);
            if (u < 0x20 || u == 0x7F) ++controlChars;
        }
        EXPECT_EQ(controlChars, controlBytes) << Hex(bytes);

        const QByteArray back = EncodeCp932(text);
        if (!duplicateRow) {
            ++exactChecked;
            EXPECT_EQ(Hex(back), Hex(bytes));
        } else if (!HasByteEscape(text)) {
            // A duplicate code comes back as its twin, which reads the same.
            // With an escaped byte in front this does not hold: the stray
            // byte may fuse with the twin's first byte into another character.
            EXPECT_EQ(DecodeCp932(back), text) << Hex(bytes);
        }
    }
    // Guards against a generator change that would leave the exact check idle.
    EXPECT_GT(exactChecked, 500);
}

TEST(Cp932, EncodedTextIsAlwaysValidCp932) {
    // Whatever text goes in, the output decodes without a single escape, so
    // a file written from user input never holds a stray byte.
    std::mt19937 rng(932);
    std::uniform_int_distribution<int> length(0, 32);
    std::uniform_int_distribution<int> unit(0, 0xFFFF);
    for (int i = 0; i < 1000; ++i) {
        QString text;
        const int n = length(rng);
        for (int k = 0; k < n; ++k) {
            char16_t u = char16_t(unit(rng));
            if (u >= 0xF780 && u <= 0xF7FF) u = u'\u3042';
            text.append(QChar(u));
        }
        ASSERT_FALSE(HasByteEscape(DecodeCp932(EncodeCp932(text)))) << Hex(EncodeCp932(text));
    }
}

namespace {

// Text made of the pieces that meet in hand-edited files: stray lead and
// other undecodable bytes next to characters with two codes, ordinary
// characters and the file format's own punctuation.
QByteArray RandomPieces(std::mt19937& rng) {
    static const char* const pieces[] = {
        "\x81",     "\x85",     "\xEE",     "\xEF",     "\xFC",     "\x9F",
        "\xE0",                                      // lead bytes that may stand alone
        "\x80",     "\xA0",     "\xFD",     "\xFF",  // bytes that start nothing
        "\xEE\xF6", "\xED\x40", "\xFA\x4A", "\x87\x90", "\xEE\xEF", "\xFA\x47",  // twin codes
        "\x82\xA0", "\x88\x9F", "\x95\x5C", "\xB1",                              // ordinary characters
        "\"",       ",",        "\r\n",     "A",        "@",        "7",
    };
    std::uniform_int_distribution<int> count(0, 12);
    std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
    QByteArray bytes;
    for (int n = count(rng); n > 0; --n) bytes += pieces[pick(rng)];
    return bytes;
}

}  // namespace

// Decoding and encoding again, as every save of an unedited file does, never
// changes the text, and after the first save never changes the bytes.
TEST(Cp932, UndecodableBytesNeverChangeTheTextAroundThem) {
    // A stray lead byte before a twin code: written back under the other
    // code, the two bytes would fuse into a different character.
    for (const char* exact : {"\xEE\xEE\xF6", "\xEE\xEE\xF6\xEE\xEE\xF6", "a\xEE\xED\x40z"}) {
        bool undecodable = false;
        const QString text = DecodeCp932(Bytes(exact), &undecodable);
        EXPECT_TRUE(undecodable);
        EXPECT_EQ(Hex(EncodeCp932(text)), Hex(Bytes(exact)));
    }
    std::mt19937 rng(8);
    for (int i = 0; i < 20000; ++i) {
        const QByteArray bytes = RandomPieces(rng);
        bool undecodable = true;
        const QString text = DecodeCp932(bytes, &undecodable);
        ASSERT_EQ(undecodable, HasByteEscape(text)) << Hex(bytes);
        const QByteArray saved = EncodeCp932(text);
        ASSERT_EQ(DecodeCp932(saved), text) << Hex(bytes) << " -> " << Hex(saved);
        ASSERT_EQ(Hex(EncodeCp932(DecodeCp932(saved))), Hex(saved)) << Hex(bytes);
    }
}

#pragma once
// The data and exchange files are Windows-932 (CP932). This is the only place
// that converts between them and Unicode; it uses glibc's iconv "CP932" table,
// which keeps 0x5C as the backslash.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace morv {

// A character CP932 cannot represent is written as the geta mark "〓"
// (U+3013, bytes 0x81 0xAC), the customary Japanese stand-in for a missing
// character, so the file never holds invalid bytes.
inline constexpr char16_t Cp932Replacement = u'\u3013';

// A byte that does not decode (a stray lead or trail byte, 0x80, 0xA0,
// 0xFD..0xFF) becomes the private-use character U+F700 + byte, which the encoder
// writes back as that same byte, so an unreadable byte survives a round trip
// unchanged instead of becoming a control character or a different byte.
inline constexpr char16_t Cp932ByteEscapeBase = u'\uF700';

// Some characters have two codes: the NEC-selected IBM rows (0xED, 0xEE) and
// the IBM rows (0xFA..0xFC) repeat each other, and a few NEC row-13 and IBM
// symbols repeat JIS row 2. Encoding always picks the code Windows picks, so
// bytes from another program may come back as the twin code; the text reads
// the same. A few characters have only a one-way code (U+00A5 is written as
// 0x5C, U+203E as 0x7E), as Windows also does.
//
// A stray lead byte is followed in the file by whatever came after it; when
// that is a character under its other code, the pair is kept as escaped bytes
// too, since the preferred code written back could fuse with the stray byte
// into a different character at the next read. So undecodable bytes never
// change the bytes around them.
QByteArray EncodeCp932(QStringView text);
// The same bytes, appended to `out`.
void AppendCp932(QStringView text, QByteArray& out);
// `undecodable`, when given, tells whether any byte had to be escaped.
QString DecodeCp932(QByteArrayView bytes, bool* undecodable = nullptr);

}  // namespace morv

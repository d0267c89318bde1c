#pragma once
// The text of a PDF that Qt wrote, made to read as the text that was drawn.
//
// A PDF names what each glyph stands for in a ToUnicode table, and Qt fills it
// by asking the font, for each glyph, which code point maps to it, taking the
// lowest. The CJK fonts map a Kangxi radical and its ideograph (U+2F8E and
// U+8840 血, U+2F47 and U+65E5 日) and the hyphenation point and the katakana
// middle dot (U+2027, U+30FB ・) to one glyph each, so a search for "血圧" in
// the file found nothing and a copy pasted look-alike characters. The program
// never draws the radicals or U+2027, so each is read back as the character
// the text had.

#include <QByteArray>

namespace morv {

// Rewrites the destinations of every ToUnicode table in `pdf` in place. Each
// code is replaced by one of the same length, so no offset in the file moves.
void CorrectPdfToUnicode(QByteArray& pdf);

// The character a glyph shared with `code` stands for in the program's text.
char16_t TextCodeFor(char16_t code);

}  // namespace morv

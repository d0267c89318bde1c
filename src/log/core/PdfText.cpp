#include "log/core/PdfText.h"

#include <QChar>
#include <QString>
#include <cstdio>

namespace morv {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A "<XXXX>" of four hex digits at `at`: its value, or -1.
int code4(const QByteArray& bytes, qsizetype at) {
    if (at + 6 > bytes.size() || bytes[at] != '<' || bytes[at + 5] != '>') return -1;
    int value = 0;
    for (int i = 1; i <= 4; ++i) {
        const int d = hexValue(bytes[at + i]);
        if (d < 0) return -1;
        value = value * 16 + d;
    }
    return value;
}

void putCode4(QByteArray& bytes, qsizetype at, char16_t code) {
    char text[5];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(code));
    for (int i = 0; i < 4; ++i) bytes[at + 1 + i] = text[i];
}

void correct(QByteArray& bytes, qsizetype at) {
    const int code = code4(bytes, at);
    if (code < 0) return;
    const char16_t text = TextCodeFor(static_cast<char16_t>(code));
    if (text != code) putCode4(bytes, at, text);
}

// The next "<...>", "[" or "]" from `at`, or -1 at `end`.
qsizetype nextToken(const QByteArray& bytes, qsizetype at, qsizetype end) {
    for (; at < end; ++at)
        if (bytes[at] == '<' || bytes[at] == '[' || bytes[at] == ']') return at;
    return -1;
}

qsizetype afterToken(const QByteArray& bytes, qsizetype at, qsizetype end) {
    if (bytes[at] != '<') return at + 1;
    const qsizetype close = bytes.indexOf('>', at);
    return close < 0 || close >= end ? end : close + 1;
}

// The destinations of "n beginbfchar <src> <dst> ... endbfchar" and of
// "n beginbfrange <lo> <hi> <dst> or [<dst> ...] ... endbfrange".
void correctSection(QByteArray& bytes, qsizetype from, qsizetype end, bool ranges) {
    qsizetype at = from;
    for (;;) {
        const qsizetype source = nextToken(bytes, at, end);
        if (source < 0) return;
        at = afterToken(bytes, source, end);
        qsizetype low = -1;
        if (ranges) {
            low = source;
            const qsizetype high = nextToken(bytes, at, end);
            if (high < 0) return;
            at = afterToken(bytes, high, end);
            const qsizetype target = nextToken(bytes, at, end);
            if (target < 0) return;
            if (bytes[target] == '[') {
                at = target + 1;
                for (qsizetype t; (t = nextToken(bytes, at, end)) >= 0 && bytes[t] != ']';
                     at = afterToken(bytes, t, end))
                    correct(bytes, t);
                const qsizetype close = nextToken(bytes, at, end);
                if (close < 0) return;
                at = close + 1;
                continue;
            }
            // A single start code counts up through the range: only a range
            // of one glyph can be corrected on its own.
            if (code4(bytes, low) >= 0 && code4(bytes, low) == code4(bytes, high)) correct(bytes, target);
            at = afterToken(bytes, target, end);
        } else {
            const qsizetype target = nextToken(bytes, at, end);
            if (target < 0) return;
            correct(bytes, target);
            at = afterToken(bytes, target, end);
        }
    }
}

}  // namespace

char16_t TextCodeFor(char16_t code) {
    if (code == 0x2027) return 0x30FB;  // ・
    // Kangxi radicals and the CJK radicals supplement: the ideograph they
    // decompose to.
    if ((code >= 0x2E80 && code <= 0x2EFF) || (code >= 0x2F00 && code <= 0x2FDF)) {
        const QString to = QChar(code).decomposition();
        if (to.size() == 1) return to[0].unicode();
    }
    return code;
}

void CorrectPdfToUnicode(QByteArray& pdf) {
    for (qsizetype map = pdf.indexOf("begincmap"); map >= 0; map = pdf.indexOf("begincmap", map + 1)) {
        const qsizetype stop = pdf.indexOf("endcmap", map);
        if (stop < 0) return;
        for (const bool ranges : {false, true}) {
            const QByteArray open = ranges ? "beginbfrange" : "beginbfchar";
            const QByteArray close = ranges ? "endbfrange" : "endbfchar";
            for (qsizetype at = pdf.indexOf(open, map); at >= 0 && at < stop;
                 at = pdf.indexOf(open, at + 1)) {
                const qsizetype end = pdf.indexOf(close, at);
                if (end < 0 || end > stop) break;
                correctSection(pdf, at + open.size(), end, ranges);
            }
        }
        map = stop;
    }
}

}  // namespace morv

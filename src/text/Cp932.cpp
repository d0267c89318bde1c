#include "text/Cp932.h"

#include <iconv.h>
#include <algorithm>
#include <cerrno>
#include <utility>

namespace morv {
namespace {

// Owns one conversion descriptor for the length of a call, so nothing keeps
// conversion state between calls and every exit path closes it.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of [in, in + inLeft) as it can, appending to out. Returns
    // 0 when everything was converted, otherwise the errno that stopped it (in
    // and inLeft then point at the offending input).
    int convert(const char*& in, size_t& inLeft, QByteArray& out) {
        char buffer[1024];
        while (inLeft > 0) {
            char* inPtr = const_cast<char*>(in);  // iconv's signature predates const
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<qsizetype>(outPtr - buffer));
            in = inPtr;
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) return errno;
        }
        return 0;
    }

private:
    iconv_t cd_;
};

constexpr char kReplacementBytes[] = "\x81\xAC";  // U+3013 in CP932

bool IsByteEscape(char32_t c) { return c >= Cp932ByteEscapeBase + 0x80u && c <= Cp932ByteEscapeBase + 0xFFu; }

// Length of the UTF-8 sequence that starts with lead byte b. The encoder only
// ever feeds iconv UTF-8 it produced itself, so the lead byte is trustworthy.
int Utf8Length(unsigned char b) {
    if (b < 0x80) return 1;
    if (b >= 0xF0) return 4;
    if (b >= 0xE0) return 3;
    return 2;
}

void AppendUtf8(char32_t c, QByteArray& out) {
    if (c < 0x80) {
        out.append(static_cast<char>(c));
    } else if (c < 0x800) {
        out.append(static_cast<char>(0xC0 | (c >> 6)));
        out.append(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.append(static_cast<char>(0xE0 | (c >> 12)));
        out.append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.append(static_cast<char>(0xF0 | (c >> 18)));
        out.append(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Encodes a run of ordinary characters (valid UTF-8, no byte escapes).
void EncodeRun(Converter& cv, const QByteArray& utf8, QByteArray& out) {
    const char* in = utf8.constData();
    size_t left = static_cast<size_t>(utf8.size());
    while (left > 0) {
        const int err = cv.convert(in, left, out);
        if (err == 0) break;
        // EILSEQ: the character has no CP932 code. Anything else cannot happen
        // with complete, valid UTF-8, but skipping one character is still the
        // safe way forward.
        out.append(kReplacementBytes, 2);
        const size_t skip = std::min<size_t>(Utf8Length(static_cast<unsigned char>(*in)), left);
        in += skip;
        left -= skip;
    }
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Whether the two bytes at `code` are one character that encodes to another
// code (the duplicate rows). Only asked after a stray lead byte.
bool IsTwinCode(const char* code) {
    Converter decoder("UTF-8", "CP932");
    Converter encoder("CP932", "UTF-8");
    if (!decoder.ok() || !encoder.ok()) return false;
    const char* in = code;
    size_t left = 2;
    QByteArray utf8;
    if (decoder.convert(in, left, utf8) != 0 || utf8.size() < 2) return false;
    const char* back = utf8.constData();
    size_t backLeft = size_t(utf8.size());
    QByteArray again;
    return encoder.convert(back, backLeft, again) == 0 && again != QByteArrayView(code, 2);
}

}  // namespace

QByteArray EncodeCp932(QStringView text) {
    QByteArray out;
    out.reserve(text.size() * 2);
    Converter cv("CP932", "UTF-8");
    QByteArray run;
    const auto flush = [&] {
        if (run.isEmpty()) return;
        if (cv.ok()) {
            EncodeRun(cv, run, out);
        } else {
            // Without the table only ASCII is certain; everything else is a
            // character we cannot write.
            for (const char b : std::as_const(run)) {
                if (static_cast<unsigned char>(b) < 0x80)
                    out.append(b);
                else if ((static_cast<unsigned char>(b) & 0xC0) != 0x80)
                    out.append(kReplacementBytes, 2);
            }
        }
        run.clear();
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        char32_t c = u;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            c = QChar::surrogateToUcs4(u, text[i + 1].unicode());
            ++i;
        } else if (QChar::isSurrogate(u)) {
            flush();
            out.append(kReplacementBytes, 2);
            continue;
        }
        if (IsByteEscape(c)) {
            flush();
            out.append(static_cast<char>(c - Cp932ByteEscapeBase));
            continue;
        }
        AppendUtf8(c, run);
    }
    flush();
    return out;
}

QString DecodeCp932(QByteArrayView bytes, bool* undecodable) {
    if (undecodable) *undecodable = false;
    QByteArray utf8;
    utf8.reserve(bytes.size() * 3 / 2);
    const char* in = bytes.data();
    size_t left = static_cast<size_t>(bytes.size());

    Converter cv("UTF-8", "CP932");
    if (!cv.ok()) {
        if (undecodable) *undecodable = bytes.size() > 0;
        // Keep ASCII and escape the rest, so even then nothing is lost.
        for (; left > 0; --left, ++in) {
            const auto b = static_cast<unsigned char>(*in);
            if (b < 0x80)
                utf8.append(static_cast<char>(b));
            else
                AppendUtf8(Cp932ByteEscapeBase + b, utf8);
        }
        return QString::fromUtf8(utf8);
    }

    while (left > 0) {
        const int err = cv.convert(in, left, utf8);
        if (err == 0) break;
        // EILSEQ (a byte that starts no character or a lead byte with a bad
        // trail) or EINVAL (a lead byte cut off at the end): escape only that
        // first byte, because the next one may well start a good character.
        if (undecodable) *undecodable = true;
        const auto escapeOne = [&] {
            AppendUtf8(Cp932ByteEscapeBase + static_cast<unsigned char>(*in), utf8);
            ++in;
            --left;
        };
        const bool strayLead = IsLeadByte(static_cast<unsigned char>(*in));
        escapeOne();
        if (strayLead && left >= 2 && IsTwinCode(in)) {
            escapeOne();
            // A trail byte below 0x80 is ASCII and stands for itself.
            if (static_cast<unsigned char>(*in) < 0x80) {
                utf8.append(*in);
                ++in;
                --left;
            } else {
                escapeOne();
            }
        }
    }
    return QString::fromUtf8(utf8);
}

}  // namespace morv

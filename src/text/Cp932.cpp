#include "text/Cp932.h"

#include <iconv.h>
#include <algorithm>
#include <cerrno>
#include <optional>
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

// Decodes bytes that begin with a byte above ASCII and end either at the end
// of the data or after two ASCII bytes in a row, so that no two-byte sequence
// is cut; the result is what decoding them as part of the whole would give.
void DecodeRun(Converter& cv, const char* in, size_t left, QByteArray& utf8, bool* undecodable) {
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
}

}  // namespace

// Almost every character in the files is ASCII, which is the same in both
// encodings; iconv only sees what lies between.
void AppendCp932(QStringView text, QByteArray& out) {
    std::optional<Converter> cv;
    QByteArray run;
    const auto flush = [&] {
        if (run.isEmpty()) return;
        if (!cv) cv.emplace("CP932", "UTF-8");
        if (cv->ok()) {
            EncodeRun(*cv, run, out);
        } else {
            // Without the table only ASCII is certain, and that never gets
            // here; everything else is a character we cannot write.
            for (const char b : std::as_const(run)) {
                if ((static_cast<unsigned char>(b) & 0xC0) != 0x80) out.append(kReplacementBytes, 2);
            }
        }
        run.clear();
    };
    const char16_t* units = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        if (units[i] < 0x80) {
            qsizetype end = i + 1;
            while (end < n && units[end] < 0x80) ++end;
            flush();
            const qsizetype at = out.size();
            out.resize(at + (end - i));
            char* to = out.data() + at;
            for (; i < end; ++i) *to++ = static_cast<char>(units[i]);
            continue;
        }
        const char16_t u = units[i++];
        char32_t c = u;
        if (QChar::isHighSurrogate(u) && i < n && QChar::isLowSurrogate(units[i])) {
            c = QChar::surrogateToUcs4(u, units[i]);
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
}

QByteArray EncodeCp932(QStringView text) {
    QByteArray out;
    out.reserve(text.size() + text.size() / 2);
    AppendCp932(text, out);
    return out;
}

QString DecodeCp932(QByteArrayView bytes, bool* undecodable) {
    if (undecodable) *undecodable = false;
    const auto ascii = [](char b) { return static_cast<unsigned char>(b) < 0x80; };
    if (std::all_of(bytes.begin(), bytes.end(), ascii)) return QString::fromLatin1(bytes);
    QString out;
    out.reserve(bytes.size());
    std::optional<Converter> cv;
    QByteArray utf8;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const char* ascii = p;
        while (p < end && static_cast<unsigned char>(*p) < 0x80) ++p;
        if (p > ascii) out.append(QLatin1StringView(ascii, p - ascii));
        if (p == end) break;
        // A byte below 0x80 right after one above may be the second byte of
        // a two-byte character (0x40..0x7E are), so the run only ends at two
        // ASCII bytes in a row: the first of them is then either a second
        // byte or a character of its own, and the second one starts afresh.
        const char* run = p++;
        while (p < end &&
               (static_cast<unsigned char>(*p) >= 0x80 || static_cast<unsigned char>(p[-1]) >= 0x80))
            ++p;
        if (!cv) cv.emplace("UTF-8", "CP932");
        if (cv->ok()) {
            DecodeRun(*cv, run, size_t(p - run), utf8, undecodable);
        } else {
            // Keep ASCII and escape the rest, so even then nothing is lost.
            if (undecodable) *undecodable = true;
            for (const char* b = run; b < p; ++b) {
                const auto u = static_cast<unsigned char>(*b);
                if (u < 0x80)
                    utf8.append(static_cast<char>(u));
                else
                    AppendUtf8(Cp932ByteEscapeBase + u, utf8);
            }
        }
        out += QString::fromUtf8(utf8);
        utf8.clear();
    }
    return out;
}

}  // namespace morv

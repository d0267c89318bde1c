#include "storage/UsualLog.h"

#include "storage/QuotedFields.h"

#include <array>
#include <string_view>
#include <unordered_map>

namespace morv {

namespace {

// The repeating texts of one column: the one of the line before is the
// likeliest, then any seen so far.
class Column {
public:
    SharedText get(std::string_view bytes) {
        if (bytes.empty()) return {};
        if (bytes == last_) return lastText_;
        last_ = bytes;
        if (const auto found = texts_.find(bytes); found != texts_.end()) return lastText_ = found->second;
        lastText_ = SharedText(QString::fromLatin1(bytes.data(), qsizetype(bytes.size())));
        // Beyond that many the texts are not repeating: stop collecting.
        if (texts_.size() < 4096) texts_.emplace(bytes, lastText_);
        return lastText_;
    }

private:
    std::unordered_map<std::string_view, SharedText> texts_;
    std::string_view last_;
    SharedText lastText_;
};

// The salt and pressure values of a long log repeat a few hundred texts;
// days that share a text share one string instead of holding a copy each.
class SharedTexts {
public:
    SharedText get(Cp932FieldReader& reader, int i) {
        const QByteArrayView bytes = reader.fieldBytes(i);
        // Most days have no reading: the empty text is asked for most.
        if (bytes.isEmpty()) return {};
        const std::string_view key(bytes.data(), size_t(bytes.size()));
        if (const auto found = texts_.find(key); found != texts_.end()) return found->second;
        SharedText text(reader.field(i));
        // Beyond that many the texts are not repeating: stop collecting.
        if (texts_.size() < 4096) texts_.emplace(key, text);
        return text;
    }

    // A date of the usual form straight from its digits; any other as text.
    static DateField date(Cp932FieldReader& reader) {
        const QByteArrayView bytes = reader.fieldBytes(0);
        DateField date;
        if (!DateField::FromUsualBytes(bytes.data(), bytes.size(), date)) date = DateField(reader.field(0));
        return date;
    }

private:
    std::unordered_map<std::string_view, SharedText> texts_;
};

// One quoted field from `p`, then `after`; the field's bytes, or false.
bool field(const char*& p, const char* end, char after, std::string_view& out) {
    if (p == end || *p != '"') return false;
    const char* start = ++p;
    while (p != end && *p != '"') {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c > 0x7e || c == ',') return false;
        ++p;
    }
    if (end - p < 2 || p[1] != after) return false;
    out = std::string_view(start, size_t(p - start));
    p += 2;
    return true;
}

}  // namespace

bool ReadUsualLog(QByteArrayView bytes, LogList& log) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    std::array<Column, 3> columns;
    std::array<std::string_view, 4> f;
    while (p != end) {
        if (!field(p, end, ',', f[0]) || !field(p, end, ',', f[1]) || !field(p, end, ',', f[2]) ||
            !field(p, end, '\r', f[3]) || p == end || *p != '\n')
            return false;
        ++p;
        DateField date;
        if (!DateField::FromUsualBytes(f[0].data(), qsizetype(f[0].size()), date))
            date = DateField(QString::fromLatin1(f[0].data(), qsizetype(f[0].size())));
        log.push_back({std::move(date), columns[0].get(f[1]), columns[1].get(f[2]), columns[2].get(f[3])});
    }
    return true;
}

LogParse ParseLog(QByteArrayView bytes, LogList& log) {
    if (ReadUsualLog(bytes, log)) return LogParse::Exact;
    log.clear();
    Cp932FieldReader reader(bytes);
    SharedTexts shared;
    for (;;) {
        switch (reader.next(4)) {
            case FieldResult::End:
                return reader.undecodable() || !reader.exact() ? LogParse::Changed : LogParse::Exact;
            case FieldResult::Broken:
                return LogParse::Broken;
            case FieldResult::Record:
                log.push_back({SharedTexts::date(reader), shared.get(reader, 1), shared.get(reader, 2),
                               shared.get(reader, 3)});
                break;
        }
    }
}

}  // namespace morv

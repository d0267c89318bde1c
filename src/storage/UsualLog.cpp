#include "storage/UsualLog.h"

#include "storage/QuotedFields.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace morv {

namespace {

// The repeating texts of one column: the one of the line before is the
// likeliest, then any seen so far. Texts of up to seven bytes (every salt and
// pressure the program writes) are found by their bytes packed into one
// number, in a small open table; longer ones by a general map.
class Column {
public:
    // The text stays valid until the next call; a day copies it (one count up).
    const SharedText& get(std::string_view bytes) {
        if (bytes.empty()) return none_;
        if (bytes.size() <= 7) {
            const quint64 key = packed(bytes);
            if (key != lastKey_) {
                lastKey_ = key;
                last_ = {};
                // Found at its first place, most often: no call.
                const Slot* first = slots_.empty() ? nullptr : &slots_[slotOf(key)];
                lastShort_ = first && first->key == key ? &first->text : &shortText(key, bytes);
            }
            return *lastShort_;
        }
        if (bytes == last_) return lastText_;
        last_ = bytes;
        lastKey_ = 0;
        if (const auto found = texts_.find(bytes); found != texts_.end()) return lastText_ = found->second;
        lastText_ = newText(bytes);
        if (texts_.size() < Most) texts_.emplace(bytes, lastText_);
        return lastText_;
    }

private:
    // Beyond that many the texts are not repeating: stop collecting.
    static constexpr size_t Most = 4096;

    static SharedText newText(std::string_view bytes) {
        return SharedText(QString::fromLatin1(bytes.data(), qsizetype(bytes.size())));
    }

    // The bytes above the length, which keeps "1" apart from "1" and a zero byte.
    // Copied as the bytes there are, never a whole word: a short text at the
    // end of the buffer has nothing readable after it.
    static quint64 packed(std::string_view bytes) {
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
            quint64 word = 0;
            std::memcpy(&word, bytes.data(), std::min<size_t>(bytes.size(), sizeof word - 1));
            return (word << 8) | bytes.size();
        }
        quint64 key = bytes.size();
        for (size_t i = 0; i < bytes.size(); ++i)
            key |= quint64(static_cast<unsigned char>(bytes[i])) << (8 * i + 8);
        return key;
    }

    // The text where it is kept, valid until the table grows.
    const SharedText& shortText(quint64 key, std::string_view bytes) {
        if (slots_.empty()) slots_.resize(256);
        for (size_t i = slotOf(key);; i = (i + 1) & (slots_.size() - 1)) {
            Slot& slot = slots_[i];
            if (slot.key == key) return slot.text;
            if (slot.key != 0) continue;
            if (used_ >= Most) return spare_ = newText(bytes);
            slot = {key, newText(bytes)};
            if (++used_ * 2 <= slots_.size()) return slot.text;
            grow();
            return shortText(key, bytes);
        }
    }

    size_t slotOf(quint64 key) const {
        return size_t((key * 0x9E3779B97F4A7C15ull) >> 32) & (slots_.size() - 1);
    }

    void grow() {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        for (Slot& slot : old) {
            if (slot.key == 0) continue;
            size_t i = slotOf(slot.key);
            while (slots_[i].key != 0) i = (i + 1) & (slots_.size() - 1);
            slots_[i] = std::move(slot);
        }
    }

    struct Slot {
        quint64 key = 0;  // 0: empty (no text is empty here)
        SharedText text;
    };
    std::vector<Slot> slots_;
    size_t used_ = 0;
    std::unordered_map<std::string_view, SharedText> texts_;
    std::string_view last_;
    quint64 lastKey_ = 0;
    SharedText lastText_;
    const SharedText* lastShort_ = nullptr;
    SharedText spare_;  // a short text beyond the table's most
    SharedText none_;
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

// The bytes a field of the usual shape holds: printable ASCII but the quote
// and the comma.
constexpr std::array<bool, 256> Plain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c <= 0x7e; ++c) plain[size_t(c)] = c != '"' && c != ',';
    return plain;
}();

// One quoted field from `p`, then `after`; the field's bytes, or false.
bool field(const char*& p, const char* end, char after, std::string_view& out) {
    if (p == end || *p != '"') return false;
    const char* start = ++p;
    while (p != end && Plain[static_cast<unsigned char>(*p)]) ++p;
    if (p == end || *p != '"') return false;
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
        // The usual date and its comma at once, without a look at each byte.
        DateField date;
        if (end - p >= 13 && p[0] == '"' && p[11] == '"' && p[12] == ',' &&
            DateField::FromTenBytes(p + 1, date)) {
            p += 13;
        } else {
            if (!field(p, end, ',', f[0])) return false;
            if (!DateField::FromUsualBytes(f[0].data(), qsizetype(f[0].size()), date))
                date = DateField(QString::fromLatin1(f[0].data(), qsizetype(f[0].size())));
        }
        if (!field(p, end, ',', f[1])) return false;
        // Most days have no reading: the rest of their line at once.
        constexpr std::string_view NoReading = "\"\",\"\"\r\n";
        if (end - p >= qsizetype(NoReading.size()) &&
            std::memcmp(p, NoReading.data(), NoReading.size()) == 0) {
            p += NoReading.size();
            log.push_back({std::move(date), columns[0].get(f[1]), {}, {}});
            continue;
        }
        if (!field(p, end, ',', f[2]) || !field(p, end, '\r', f[3]) || p == end || *p != '\n') return false;
        ++p;
        log.push_back({std::move(date), columns[0].get(f[1]), columns[1].get(f[2]), columns[2].get(f[3])});
    }
    return true;
}

LogParse ParseLog(QByteArrayView bytes, LogList& log, bool* usual) {
    const bool tight = ReadUsualLog(bytes, log);
    if (usual) *usual = tight;
    if (tight) return LogParse::Exact;
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

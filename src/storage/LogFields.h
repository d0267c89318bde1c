#pragma once
// The fields of a day of the log, one pointer wide each, so that a million
// days fit in a few dozen megabytes. They read as text wherever a QString is
// wanted and keep the exact text that was read or set.
//
// SharedText: an unchangeable text that copies share (a reference count, as
// QString has, behind a handle a third its size); the empty text holds nothing.
// DateField: a date in the usual form "yyyy/mm/dd" kept as a number, inside
// the handle; any other text ("2024/3/5", as a file may hold it) as a SharedText.

#include <QAtomicInt>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <utility>

namespace morv {

namespace detail {
struct TextNode {
    QAtomicInt ref{1};
    QString text;
};
inline TextNode* NewNode(const QString& text) { return text.isEmpty() ? nullptr : new TextNode{1, text}; }
inline void Hold(TextNode* n) {
    if (n) n->ref.ref();
}
inline void Drop(TextNode* n) {
    if (n && !n->ref.deref()) delete n;
}
}  // namespace detail

class SharedText {
public:
    SharedText() noexcept = default;
    SharedText(const QString& text) : node_(detail::NewNode(text)) {}
    SharedText(const char* utf8) : SharedText(QString::fromUtf8(utf8)) {}
    SharedText(const SharedText& other) noexcept : node_(other.node_) { detail::Hold(node_); }
    SharedText(SharedText&& other) noexcept : node_(std::exchange(other.node_, nullptr)) {}
    SharedText& operator=(SharedText other) noexcept {
        std::swap(node_, other.node_);
        return *this;
    }
    ~SharedText() { detail::Drop(node_); }

    QString text() const { return node_ ? node_->text : QString(); }
    operator QString() const { return text(); }
    QStringView view() const { return node_ ? QStringView(node_->text) : QStringView(); }
    bool isEmpty() const { return !node_; }
    qsizetype size() const { return node_ ? node_->text.size() : 0; }

    friend bool operator==(const SharedText& a, const SharedText& b) {
        return a.node_ == b.node_ || a.view() == b.view();
    }
    friend bool operator==(const SharedText& a, const QString& b) { return a.view() == QStringView(b); }
    friend bool operator==(const SharedText& a, const char* b) { return a.view() == QString::fromUtf8(b); }

private:
    detail::TextNode* node_ = nullptr;
};

class DateField {
public:
    DateField() noexcept = default;
    DateField(const QString& text);
    DateField(const char* utf8) : DateField(QString::fromUtf8(utf8)) {}
    // The ASCII bytes of a date as read from a file; nullopt-like false when
    // they are not of the usual form (the caller then passes the text).
    static bool FromUsualBytes(const char* bytes, qsizetype size, DateField& out);
    // The same for exactly ten bytes, inline: the tight read of a log calls
    // it once a line.
    static bool FromTenBytes(const char* t, DateField& out) {
        if (t[4] != '/' || t[7] != '/') return false;
        const unsigned d[8] = {unsigned(t[0] - '0'), unsigned(t[1] - '0'), unsigned(t[2] - '0'),
                               unsigned(t[3] - '0'), unsigned(t[5] - '0'), unsigned(t[6] - '0'),
                               unsigned(t[8] - '0'), unsigned(t[9] - '0')};
        quint32 n = 0;
        bool digits = true;
        for (unsigned v : d) {
            digits &= v <= 9;
            n = n * 10 + v;
        }
        if (!digits) return false;
        detail::Drop(out.node());
        out.bits_ = pack(n);
        return true;
    }
    DateField(const DateField& other) noexcept : bits_(other.bits_) { detail::Hold(node()); }
    DateField(DateField&& other) noexcept : bits_(std::exchange(other.bits_, 0)) {}
    DateField& operator=(DateField other) noexcept {
        std::swap(bits_, other.bits_);
        return *this;
    }
    ~DateField() { detail::Drop(node()); }

    QString text() const;
    operator QString() const { return text(); }
    bool isEmpty() const { return bits_ == 0; }
    qsizetype size() const;
    // The text in `buffer` when it is a usual date, else in the kept string.
    QStringView view(char16_t (&buffer)[10]) const;

    // As QString::compare of the two texts: below, at or above zero.
    int compare(const DateField& other) const;
    int compare(const QString& other) const { return compare(DateField(other)); }
    friend bool operator==(const DateField& a, const DateField& b) { return a.compare(b) == 0; }
    friend bool operator==(const DateField& a, const QString& b) { return a.compare(b) == 0; }
    friend bool operator==(const DateField& a, const char* b) { return a.compare(QString::fromUtf8(b)) == 0; }
    friend bool operator<(const DateField& a, const DateField& b) { return a.compare(b) < 0; }

private:
    static constexpr quintptr Packed = 1;
    bool packed() const { return bits_ & Packed; }
    quint32 number() const { return quint32(bits_ >> 1); }
    detail::TextNode* node() const { return packed() ? nullptr : reinterpret_cast<detail::TextNode*>(bits_); }
    static quintptr pack(quint32 yyyymmdd) { return (quintptr(yyyymmdd) << 1) | Packed; }

    quintptr bits_ = 0;  // 0: empty; low bit set: yyyymmdd; else a TextNode*
};

}  // namespace morv

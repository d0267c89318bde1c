#pragma once
#include <QString>
#include <QStringView>

namespace morv {

// Turns every half-width character into its full-width form: ASCII letters,
// digits and symbols (U+0021..U+007E to U+FF01..U+FF5E), the blank (to U+3000)
// and half-width katakana and punctuation (U+FF61..U+FF9F), where a voiced or
// semi-voiced sound mark joins the kana before it when they combine
// (ｶﾞ to ガ, ﾊﾟ to パ, ｳﾞ to ヴ). Everything else is kept.
QString ToFullWidth(QStringView text);

}  // namespace morv

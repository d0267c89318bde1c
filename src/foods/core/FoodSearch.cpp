#include "foods/core/FoodSearch.h"

#include <QList>
#include <algorithm>

namespace morv {
namespace {

// Between the readable name and its leading markers in a key: no query word
// holds it, so no match runs across the two.
constexpr char16_t KeySeparator = u'\x1f';

bool Ignored(char16_t c) {
    switch (c) {
        case u' ':
        case u'\t':
        case u'\u3000':
        case u'(':
        case u')':
        case u'<':
        case u'>':
        case u'[':
        case u']':
        case u'{':
        case u'}':
        case u'〔':
        case u'〕':
        case u'【':
        case u'】':
        case u'「':
        case u'」':
        case u'〈':
        case u'〉':
        case u'・':
        case u'･':
            return true;
        default:
            return false;
    }
}

QString KeyOf(QStringView name) {
    const QString readable = ReadableName(name);
    const QStringView markers = name.left(name.size() - readable.size());
    return SearchKey(readable) + KeySeparator + SearchKey(markers);
}

}  // namespace

QString SearchKey(QStringView text) {
    QString key = text.toString().normalized(QString::NormalizationForm_KC);
    qsizetype out = 0;
    for (QChar c : std::as_const(key)) {
        char16_t u = c.unicode();
        if (Ignored(u)) continue;
        if (u >= u'ァ' && u <= u'ヶ')
            u -= 0x60;  // katakana to hiragana
        else if (u >= u'A' && u <= u'Z')
            u += 0x20;
        key[out++] = QChar(u);
    }
    key.truncate(out);
    return key;
}

void SetSearchKeys(Food& food, QStringView kanaName) {
    food.key = KeyOf(food.name);
    food.kanaKey = kanaName.isEmpty() ? QString() : KeyOf(kanaName);
    if (food.kanaKey == food.key) food.kanaKey.clear();
}

std::vector<int> SearchFoods(const FoodTable& table, QStringView query) {
    std::vector<QString> words;
    for (QStringView word : query.split(QChar(u' '), Qt::SkipEmptyParts))
        for (QStringView part : word.split(QChar(u'\u3000'), Qt::SkipEmptyParts))
            if (QString key = SearchKey(part); !key.isEmpty()) words.push_back(std::move(key));
    const std::vector<Food>& foods = table.foods();
    struct Hit {
        bool starts;
        qsizetype length;
        int index;
    };
    std::vector<Hit> hits;
    for (size_t i = 0; i < foods.size(); ++i) {
        const Food& food = foods[i];
        const bool all = std::all_of(words.begin(), words.end(), [&](const QString& w) {
            return food.key.contains(w) || food.kanaKey.contains(w);
        });
        if (!all) continue;
        const bool starts =
            !words.empty() && (food.key.startsWith(words[0]) || food.kanaKey.startsWith(words[0]));
        hits.push_back({starts, food.key.indexOf(KeySeparator), static_cast<int>(i)});
    }
    if (!words.empty())
        std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
            if (a.starts != b.starts) return a.starts;
            return a.length < b.length;
        });
    std::vector<int> indexes;
    indexes.reserve(hits.size());
    for (const Hit& hit : hits) indexes.push_back(hit.index);
    return indexes;
}

}  // namespace morv

#include "foods/core/FoodTable.h"

#include "foods/core/FoodSearch.h"

#include <QFile>
#include <QList>
#include <cmath>

namespace morv {
namespace {

constexpr char16_t IdeographicSpace = u'\u3000';

// "7200" / "18.2" to whole units of the figure's precision.
std::optional<int> ParseFigure(QStringView text, int decimals) {
    if (text == u"Tr") return FigureTrace;
    if (text == u"-") return FigureUnknown;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || value < 0 || value > 1e6) return std::nullopt;
    const double scaled = value * (decimals ? 10 : 1);
    return static_cast<int>(std::lround(scaled));
}

bool IsMarker(QStringView word) {
    return word.size() >= 2 && ((word.front() == u'＜' && word.back() == u'＞') ||
                                (word.front() == u'（' && word.back() == u'）'));
}

}  // namespace

std::optional<FoodTable> FoodTable::Parse(QByteArrayView utf8, QString* error) {
    FoodTable table;
    const QString text = QString::fromUtf8(utf8);
    table.foods_.reserve(static_cast<size_t>(text.count(u'\n')));
    int lineNumber = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++lineNumber;
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const QList<QStringView> f = line.split(u'\t');
        bool ok = false;
        if (f.size() == 3 && f[0] == u"G") {
            const int group = f[1].toInt(&ok);
            if (ok && group > 0 && group < 100) {
                if (table.groups_.size() <= static_cast<size_t>(group)) table.groups_.resize(group + 1);
                table.groups_[group] = f[2].toString();
                continue;
            }
        } else if (f.size() == 5 && f[0].size() == 5) {
            Food food;
            food.number = f[0].toInt(&ok);
            const auto sodium = ParseFigure(f[2], 0), salt = ParseFigure(f[3], 1);
            if (ok && sodium && salt && !f[1].isEmpty()) {
                food.sodium = *sodium;
                food.saltTenths = *salt;
                food.name = f[1].toString();
                SetSearchKeys(food, f[4]);
                table.foods_.push_back(std::move(food));
                continue;
            }
        }
        if (error) *error = QStringLiteral("line %1 is not a food or a group").arg(lineNumber);
        return std::nullopt;
    }
    table.foods_.shrink_to_fit();
    return table;
}

const FoodTable* FoodTable::Builtin() {
    static const std::optional<FoodTable> table = [] {
        QFile file(FoodResourcePath);
        return file.open(QIODevice::ReadOnly) ? Parse(file.readAll()) : std::nullopt;
    }();
    return table ? &*table : nullptr;
}

QString FoodTable::groupName(int group) const {
    return group >= 0 && static_cast<size_t>(group) < groups_.size() ? groups_[group] : QString();
}

QString FoodNumberText(const Food& food) {
    return QStringLiteral("%1").arg(food.number, 5, 10, QLatin1Char('0'));
}

QString ReadableName(QStringView name) {
    QStringView rest = name;
    while (true) {
        const qsizetype blank = rest.indexOf(IdeographicSpace);
        const QStringView word = blank < 0 ? rest : rest.left(blank);
        if (blank < 0 || !IsMarker(word)) break;
        rest = rest.mid(blank + 1);
    }
    return rest.toString();
}

QString SodiumFigureText(int sodium) {
    if (sodium == FigureTrace) return QStringLiteral("微量");
    if (sodium < 0) return QStringLiteral("不明");
    return QString::number(sodium);
}

QString SaltFigureText(int saltTenths) {
    if (saltTenths == FigureTrace) return QStringLiteral("微量");
    if (saltTenths < 0) return QStringLiteral("不明");
    if (saltTenths == 0) return QStringLiteral("0");
    return QStringLiteral("%1.%2").arg(saltTenths / 10).arg(saltTenths % 10);
}

}  // namespace morv

#include "log/ReportPainter.h"

#include "ui/Colours.h"
#include "ui/Controls.h"
#include "log/core/ReportLayout.h"
#include "text/DateText.h"
#include "text/NumericText.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <functional>

namespace morv {
namespace {

// Everything is laid out in tenths of a millimetre inside the margins.
constexpr double Width = 1800;
constexpr double RowHeight = 46;
constexpr double HeaderHeight = 52;
constexpr double FooterSpace = 90;
constexpr double ContinuedTop = 90;  // where a further page's content starts

const QColor Ink{0, 0, 0};
const QColor Grey{110, 110, 110};
const QColor Rule{170, 170, 170};
const QColor HeaderFill{235, 235, 235};
const QColor TargetLine{200, 0, 0};
const QColor PressureEdge{70, 70, 170};

QString weekday(QDate date) {
    static const QString names[] = {QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"),
                                    QStringLiteral("木"), QStringLiteral("金"), QStringLiteral("土"),
                                    QStringLiteral("日")};
    return names[date.dayOfWeek() - 1];
}

QString dayWithWeekday(QDate date) { return QStringLiteral("%1（%2）").arg(DateText(date), weekday(date)); }

QString span(QDate from, QDate to) {
    if (from == to) return DateText(from);
    const QString end = from.year() == to.year() ? to.toString(QStringLiteral("MM/dd")) : DateText(to);
    return QStringLiteral("%1〜%2").arg(DateText(from), end);
}

QString grams(std::optional<double> value) {
    return value ? NumberText(*value) + QStringLiteral(" g") : QStringLiteral("未設定");
}

struct Cell {
    QString text;
    double width;
    Qt::Alignment align = Qt::AlignRight;
    QColor fill = Qt::transparent;
};

class Pages {
public:
    Pages(QPainter* painter, QPagedPaintDevice* device, const SaltReport& report, QDate made, int total,
          double height)
        : p_(painter), device_(device), report_(report), made_(made), total_(total), height_(height) {
        target_ = NumericValue(report.target);
    }

    int pages() const { return page_; }

    void draw() {
        startPage();
        heading();
        if (report_.whole.days == 0 && report_.whole.readings == 0) {
            y_ += 60;
            text({0, y_, Width, 80}, NoRecordedDayText, 42, false, Qt::AlignLeft);
            finishPage();
            return;
        }
        chart();
        weeks();
        days();
        finishPage();
    }

private:
    double bottom() const { return height_ - FooterSpace; }

    QFont font(double size, bool bold) const {
        QFont f = WindowFont();
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
        f.setBold(bold);
        return f;
    }

    void text(const QRectF& box, const QString& s, double size, bool bold, Qt::Alignment align,
              const QColor& colour = Ink) {
        if (!p_) return;
        p_->setFont(font(size, bold));
        p_->setPen(colour);
        p_->drawText(box, static_cast<int>(align | Qt::AlignVCenter) | Qt::TextSingleLine, s);
    }

    void line(QPointF a, QPointF b, const QColor& colour, double width = 3, Qt::PenStyle style = Qt::SolidLine) {
        if (!p_) return;
        p_->setPen(QPen(colour, width, style, Qt::FlatCap));
        p_->drawLine(a, b);
    }

    void box(const QRectF& r, const QColor& fill, const QColor& edge = Qt::transparent) {
        if (!p_) return;
        p_->setPen(edge.alpha() ? QPen(edge, 2) : QPen(Qt::NoPen));
        p_->setBrush(fill);
        p_->drawRect(r);
        p_->setBrush(Qt::NoBrush);
    }

    void startPage() {
        ++page_;
        if (page_ > 1) {
            if (device_ && p_) device_->newPage();
            text({0, 0, Width, 40}, ReportTitle + QStringLiteral("　") + span(report_.from, report_.to), 30,
                 false, Qt::AlignLeft, Grey);
            line({0, 50}, {Width, 50}, Rule);
            y_ = ContinuedTop;
        } else {
            y_ = 0;
        }
    }

    void finishPage() {
        text({0, height_ - 40, Width, 40}, QStringLiteral("%1 / %2").arg(page_).arg(total_), 30, false,
             Qt::AlignHCenter, Grey);
    }

    void nextPage() {
        finishPage();
        startPage();
    }

    void heading() {
        text({0, 0, Width, 100}, ReportTitle, 75, true, Qt::AlignLeft);
        const qint64 count = report_.from.daysTo(report_.to) + 1;
        text({0, 115, Width, 50},
             QStringLiteral("期間　%1 〜 %2（%3日間）")
                 .arg(dayWithWeekday(report_.from), dayWithWeekday(report_.to))
                 .arg(count),
             36, false, Qt::AlignLeft);
        text({0, 170, Width, 50},
             QStringLiteral("作成日　%1　　　1日の目標塩分　%2").arg(DateText(made_), grams(target_)), 36, false,
             Qt::AlignLeft);
        line({0, 240}, {Width, 240}, Ink, 4);
        y_ = 260;
    }

    void section(const QString& title) {
        text({0, y_, Width, 60}, title, 42, true, Qt::AlignLeft);
        y_ += 70;
    }

    // Salt bars over the days of the period, and below them the readings as
    // low-high ranges on an axis of their own, both on one row of dates.
    void chart() {
        section(QStringLiteral("毎日の塩分と血圧"));
        const double left = 130, right = Width - 170, plotWidth = right - left;
        const qint64 count = report_.from.daysTo(report_.to) + 1;
        const double slot = plotWidth / static_cast<double>(count);
        const double barWidth = std::max(slot * 0.7, 1.0);
        auto centre = [&](QDate d) { return left + (static_cast<double>(report_.from.daysTo(d)) + 0.5) * slot; };

        const double saltTop = y_ + 50, saltHeight = 520;
        const ChartAxis salt = SaltAxis(report_, target_.value_or(0));
        auto saltY = [&](double g) { return saltTop + saltHeight * (1 - salt.fraction(g)); };
        axis(salt, left, right, saltTop, saltHeight, QStringLiteral("塩分（g）"), saltY);
        for (const ReportDay& day : report_.days) {
            if (!day.saltAmount) continue;
            const double top = saltY(static_cast<double>(*day.saltAmount) / 1e6);
            box({centre(day.date) - barWidth / 2, top, barWidth, saltTop + saltHeight - top},
                day.overTarget ? colour::Salmon : colour::LightOrange,
                slot > 8 ? QColor(150, 110, 80) : QColor(Qt::transparent));
        }
        if (target_ && *target_ >= 0) {
            const double ty = saltY(*target_);
            line({left, ty}, {right, ty}, TargetLine, 5, Qt::DashLine);
            // Beside the plot, where no bar covers it.
            text({right + 15, ty - 45, Width - right - 15, 40}, QStringLiteral("目標"), 28, false, Qt::AlignLeft,
                 TargetLine);
            text({right + 15, ty + 5, Width - right - 15, 40}, grams(target_), 28, false, Qt::AlignLeft,
                 TargetLine);
        }

        const double bpTop = saltTop + saltHeight + 110, bpHeight = 320;
        const ChartAxis bp = PressureAxis(report_);
        auto bpY = [&](double v) { return bpTop + bpHeight * (1 - bp.fraction(v)); };
        axis(bp, left, right, bpTop, bpHeight, QStringLiteral("血圧（mmHg）"), bpY);
        const double rangeWidth = std::clamp(slot * 0.35, 2.0, 24.0);
        for (const ReportDay& day : report_.days) {
            if (!day.lowAmount) continue;
            const double top = bpY(static_cast<double>(*day.highAmount) / 1e6);
            const double low = bpY(static_cast<double>(*day.lowAmount) / 1e6);
            box({centre(day.date) - rangeWidth / 2, top, rangeWidth, std::max(low - top, 3.0)}, colour::Lavender,
                PressureEdge);
        }

        const double datesTop = bpTop + bpHeight + 8;
        for (int d : DateMarks(count)) {
            const QDate date = report_.from.addDays(d);
            const double x = centre(date);
            line({x, bpTop + bpHeight}, {x, bpTop + bpHeight + 12}, Grey, 2);
            text({x - 80, datesTop + 8, 160, 36}, date.toString(QStringLiteral("MM/dd")), 28, false,
                 Qt::AlignHCenter);
        }
        legend(datesTop + 60);
        y_ = datesTop + 130;
    }

    template <class ToY>
    void axis(const ChartAxis& a, double left, double right, double top, double height, const QString& title,
              ToY toY) {
        text({0, top - 48, 600, 40}, title, 30, true, Qt::AlignLeft);
        for (double v = a.min; v <= a.max + a.step / 1000; v += a.step) {
            const double y = toY(v);
            line({left, y}, {right, y}, v == a.min ? Ink : Rule, v == a.min ? 3 : 1.5);
            text({0, y - 20, left - 20, 40}, NumberText(v), 28, false, Qt::AlignRight);
        }
        line({left, top}, {left, top + height}, Ink, 3);
    }

    void legend(double y) {
        double x = 130;
        auto swatch = [&](const QColor& fill, const QColor& edge, const QString& label) {
            box({x, y + 8, 50, 26}, fill, edge);
            text({x + 62, y, 320, 40}, label, 28, false, Qt::AlignLeft);
            x += 330;
        };
        swatch(colour::LightOrange, QColor(150, 110, 80), QStringLiteral("目標以内の日"));
        swatch(colour::Salmon, QColor(150, 110, 80), QStringLiteral("目標を超えた日"));
        line({x, y + 21}, {x + 50, y + 21}, TargetLine, 5, Qt::DashLine);
        text({x + 62, y, 320, 40}, QStringLiteral("1日の目標"), 28, false, Qt::AlignLeft);
        x += 330;
        box({x + 15, y + 2, 20, 38}, colour::Lavender, PressureEdge);
        text({x + 62, y, 400, 40}, QStringLiteral("血圧（最低〜最高）"), 28, false, Qt::AlignLeft);
    }

    void row(double x, double y, const std::vector<Cell>& cells, bool bold, bool header = false) {
        double cx = x;
        for (const Cell& c : cells) {
            if (c.fill.alpha()) box({cx, y + 2, c.width, RowHeight - 4}, c.fill);
            text({cx + 12, y, c.width - 24, header ? HeaderHeight : RowHeight}, c.text, header ? 27 : 31, bold,
                 header ? Qt::AlignHCenter : c.align);
            cx += c.width;
        }
        const double h = header ? HeaderHeight : RowHeight;
        line({x, y + h}, {cx, y + h}, header ? Ink : Rule, header ? 3 : 1.5);
    }

    // Rows flow down the page in `columns` side by side, then onto further
    // pages, each part under its own header.
    void table(int count, int columns, double columnWidth, const std::function<void(double, double)>& header,
               const std::function<void(int, double, double)>& drawRow) {
        int i = 0;
        while (i < count) {
            const RowFlow flow = FlowRows(y_, ContinuedTop, bottom(), HeaderHeight, RowHeight, columns);
            int here = y_ <= ContinuedTop ? flow.pageRows : flow.firstPageRows;
            if (here == 0) {
                nextPage();
                continue;
            }
            here = std::min(here, count - i);
            const int perColumn = (here + columns - 1) / columns;
            const double gap = columns > 1 ? (Width - columns * columnWidth) / (columns - 1) : 0;
            for (int c = 0; c < columns && c * perColumn < here; ++c) {
                const double x = c * (columnWidth + gap);
                header(x, y_);
                for (int r = 0; r < perColumn && c * perColumn + r < here; ++r)
                    drawRow(i + c * perColumn + r, x, y_ + HeaderHeight + r * RowHeight);
            }
            i += here;
            y_ += HeaderHeight + perColumn * RowHeight + 60;
            if (i < count) nextPage();
        }
    }

    std::vector<Cell> sumsCells(const QString& label, const DaySums& s, qint64 length) const {
        return {
            {label, 430, Qt::AlignLeft},
            {QStringLiteral("%1/%2").arg(s.days).arg(length), 200},
            {TenthsText(s.saltTenths()), 250},
            {QString::number(s.overTarget), 230},
            {QString::number(s.readings), 230},
            {WholeText(s.lowMmHg()), 230},
            {WholeText(s.highMmHg()), 230},
        };
    }

    void weeks() {
        if (y_ + 70 + HeaderHeight + 3 * RowHeight > bottom()) nextPage();
        section(QStringLiteral("週ごとの平均（塩分 g、血圧 mmHg）"));
        const auto& weeks = report_.weeks;
        const int count = static_cast<int>(weeks.size()) + 1;  // and the whole period's line
        const std::vector<Cell> heads = {
            {QStringLiteral("週"), 430},          {QStringLiteral("記録日数"), 200},
            {QStringLiteral("平均塩分"), 250}, {QStringLiteral("目標超過日数"), 230},
            {QStringLiteral("血圧測定日数"), 230}, {QStringLiteral("平均最低血圧"), 230},
            {QStringLiteral("平均最高血圧"), 230},
        };
        table(
            count, 1, Width, [&](double x, double y) { row(x, y, heads, true, true); },
            [&](int i, double x, double y) {
                if (i < count - 1) {
                    const DaySums& w = weeks[static_cast<size_t>(i)];
                    row(x, y, sumsCells(span(w.from, w.to), w, w.from.daysTo(w.to) + 1), false);
                } else {
                    const DaySums& w = report_.whole;
                    line({x, y}, {x + Width, y}, Ink, 3);
                    row(x, y, sumsCells(QStringLiteral("期間全体"), w, w.from.daysTo(w.to) + 1), true);
                }
            });
    }

    void days() {
        if (y_ + 70 + HeaderHeight + 3 * RowHeight > bottom()) nextPage();
        section(QStringLiteral("毎日の記録"));
        constexpr double column = 860;
        const std::vector<Cell> heads = {{QStringLiteral("日付"), 340},
                                         {QStringLiteral("塩分 (g)"), 190},
                                         {QStringLiteral("目標"), 120},
                                         {QStringLiteral("血圧 (mmHg)"), 210}};
        table(
            static_cast<int>(report_.days.size()), 2, column, [&](double x, double y) { row(x, y, heads, true, true); },
            [&](int i, double x, double y) {
                const ReportDay& d = report_.days[static_cast<size_t>(i)];
                const bool counted = d.saltAmount.has_value();
                row(x, y,
                    {{dayWithWeekday(d.date), 340, Qt::AlignLeft},
                     {d.salt, 190, Qt::AlignRight,
                      counted ? (d.overTarget ? colour::Salmon : colour::PaleYellow) : QColor(Qt::transparent)},
                     {d.overTarget ? QStringLiteral("超過") : QString(), 120, Qt::AlignHCenter},
                     {d.lowAmount ? d.low + QLatin1Char('-') + d.high : QString(), 210, Qt::AlignHCenter}},
                    false);
            });
    }

    QPainter* p_;
    QPagedPaintDevice* device_;
    const SaltReport& report_;
    QDate made_;
    int total_;
    double height_;
    std::optional<double> target_;
    int page_ = 0;
    double y_ = 0;
};

}  // namespace

void SetUpReportPage(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 12, 15, 12),
                                     QPageLayout::Millimeter));
}

bool PaintReport(QPagedPaintDevice& device, const SaltReport& report, QDate made) {
    const QPageLayout layout = device.pageLayout();
    const QRectF paper = layout.paintRect(QPageLayout::Millimeter);
    const QRect pixels = layout.paintRectPixels(device.logicalDpiX());
    // The content is laid out 180 mm wide; a printer with wider margins
    // shrinks it evenly rather than cutting it off.
    const double scale = std::min(1.0, paper.width() * 10 / Width);
    const double height = paper.height() * 10 / scale;

    Pages counting(nullptr, nullptr, report, made, 0, height);
    counting.draw();

    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const double perUnit = pixels.width() / (paper.width() * 10) * scale;
    painter.scale(perUnit, perUnit);
    Pages pages(&painter, &device, report, made, counting.pages(), height);
    pages.draw();
    return painter.end();
}

QByteArray ReportPdf(const SaltReport& report, QDate made) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(ReportTitle);
        writer.setCreator(QStringLiteral("Morvaline"));
        writer.setResolution(600);
        SetUpReportPage(writer);
        if (!PaintReport(writer, report, made)) return {};
    }
    return bytes;
}

}  // namespace morv

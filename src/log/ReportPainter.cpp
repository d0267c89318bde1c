#include "log/ReportPainter.h"

#include "log/core/PdfText.h"
#include "log/core/ReportLayout.h"
#include "text/DateText.h"
#include "text/NumericText.h"
#include "ui/Colours.h"
#include "ui/Controls.h"

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
constexpr double RowHeight = 50;
constexpr double HeaderHeight = 56;
constexpr double FooterSpace = 90;
constexpr double ContinuedTop = 90;  // where a further page's content starts

// Type sizes in points, for a reader of seventy: body and tables at least
// 10.5 pt, headers 10 pt, the chart's numbers 9 pt.
constexpr double Point = 3.5278;  // tenths of a millimetre
constexpr double BodySize = 10.5 * Point;
constexpr double HeaderSize = 10 * Point;
constexpr double AxisSize = 9 * Point;
constexpr double SectionSize = 12 * Point;

const QColor Ink{0, 0, 0};
const QColor Grey{90, 90, 90};
const QColor Rule{170, 170, 170};
const QColor TargetLine{200, 0, 0};
const QColor ReferenceLine{60, 60, 160};
const QColor PressureEdge{70, 70, 170};
const QColor BarEdge{150, 110, 80};
// Without a target no day is within or over it.
const QColor NeutralBar{200, 200, 200};
const QColor NeutralEdge{120, 120, 120};
const QColor YearBand[] = {{238, 238, 238}, {250, 250, 250}};

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

// A whole calendar month by its name, a cut one by its days.
QString monthSpan(QDate from, QDate to) {
    if (from.day() == 1 && to == from.addMonths(1).addDays(-1))
        return from.toString(QStringLiteral("yyyy/MM"));
    return span(from, to);
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
            text({0, y_, Width, 80}, NoRecordedDayText, SectionSize, false, Qt::AlignLeft);
            finishPage();
            return;
        }
        chart();
        if (report_.dailyRows()) {
            weeks();
            days();
        } else {
            months();
        }
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

    // Text is set a hundred times finer than the layout: a font's size is a
    // whole number of pixels (and of units in the PDF), and 37 tenths of a
    // millimetre would make 10.5 pt type 10.46.
    void text(const QRectF& box, const QString& s, double size, bool bold, Qt::Alignment align,
              const QColor& colour = Ink) {
        if (!p_) return;
        constexpr double Fine = 100;
        p_->save();
        p_->translate(box.topLeft());
        p_->scale(1 / Fine, 1 / Fine);
        p_->setFont(font(size * Fine, bold));
        p_->setPen(colour);
        p_->drawText(QRectF(0, 0, box.width() * Fine, box.height() * Fine),
                     static_cast<int>(align | Qt::AlignVCenter) | Qt::TextSingleLine, s);
        p_->restore();
    }

    void line(QPointF a, QPointF b, const QColor& colour, double width = 3,
              Qt::PenStyle style = Qt::SolidLine) {
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
            text({0, 0, Width, 45}, ReportTitle + QStringLiteral("　") + span(report_.from, report_.to),
                 HeaderSize, false, Qt::AlignLeft, Grey);
            line({0, 55}, {Width, 55}, Rule);
            y_ = ContinuedTop;
        } else {
            y_ = 0;
        }
    }

    void finishPage() {
        text({0, height_ - 45, Width, 45}, QStringLiteral("%1 / %2").arg(page_).arg(total_), HeaderSize,
             false, Qt::AlignHCenter, Grey);
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
             BodySize, false, Qt::AlignLeft);
        text({0, 170, Width, 50},
             QStringLiteral("作成日　%1　　　1日の目標塩分　%2").arg(DateText(made_), grams(target_)),
             BodySize, false, Qt::AlignLeft);
        line({0, 240}, {Width, 240}, Ink, 4);
        y_ = 260;
    }

    void section(const QString& title) {
        text({0, y_, Width, 55}, title, SectionSize, true, Qt::AlignLeft);
        y_ += 62;
    }

    bool targetSet() const { return report_.whole.targetSet; }

    // Salt bars over the days of the period, and below them the readings as
    // ranges from the upper to the lower value on an axis of their own, both
    // on one row of dates. A long period shows weekly or monthly averages.
    void chart() {
        const ChartUnit unit = ChartUnitFor(report_.length());
        const QString per = unit == ChartUnit::Day    ? QStringLiteral("日")
                            : unit == ChartUnit::Week ? QStringLiteral("週")
                                                      : QStringLiteral("月");
        section(unit == ChartUnit::Day ? QStringLiteral("毎日の塩分と血圧")
                                       : QStringLiteral("%1ごとの平均の塩分と血圧").arg(per));
        const double left = 130, right = Width - 170, plotWidth = right - left;
        const ChartDays shown = ChartDaysFor(report_.from, report_.to);
        const qint64 count = shown.first.daysTo(shown.last) + 1;
        const double slot = plotWidth / static_cast<double>(count);
        auto dayX = [&](QDate d) { return left + static_cast<double>(shown.first.daysTo(d)) * slot; };

        // What the bars stand for: each recorded day, or the averages of the
        // weeks or months that have one.
        struct Bar {
            double x, width;
            std::optional<double> salt;
            bool over = false;
            std::optional<double> high, low;
        };
        std::vector<Bar> bars;
        if (unit == ChartUnit::Day) {
            for (const ReportDay& day : report_.days) {
                Bar b{dayX(day.date), slot, std::nullopt, day.overTarget, std::nullopt, std::nullopt};
                if (day.saltAmount) b.salt = static_cast<double>(*day.saltAmount) / 1e6;
                if (day.lowAmount) {
                    b.high = static_cast<double>(*day.highAmount) / 1e6;
                    b.low = static_cast<double>(*day.lowAmount) / 1e6;
                }
                bars.push_back(b);
            }
        } else {
            for (const DaySums& s : unit == ChartUnit::Week ? report_.weeks : report_.months) {
                // A run the period cuts short keeps a whole run's room.
                const ChartDays run = RunOf(s.from, report_.from, report_.to);
                Bar b{dayX(run.first), slot * static_cast<double>(run.first.daysTo(run.last) + 1),
                      s.saltGrams(),   false,
                      std::nullopt,    std::nullopt};
                if (b.salt && target_) b.over = *b.salt > *target_;
                if (s.readings > 0) {
                    b.high = static_cast<double>(s.high) / s.readings / 1e6;
                    b.low = static_cast<double>(s.low) / s.readings / 1e6;
                }
                bars.push_back(b);
            }
        }

        const double saltTop = y_ + 50, saltHeight = 380;
        const ChartAxis salt = SaltAxis(report_, target_.value_or(0));
        auto saltY = [&](double g) { return saltTop + saltHeight * (1 - salt.fraction(g)); };
        axis(salt, left, right, saltTop, saltHeight, QStringLiteral("塩分（g）"), saltY);
        for (const Bar& b : bars) {
            if (!b.salt) continue;
            const double top = saltY(*b.salt), width = std::max(b.width * 0.7, 1.0);
            const QColor fill = !targetSet() ? NeutralBar : b.over ? colour::Salmon : colour::LightOrange;
            const QColor edge = !targetSet() ? NeutralEdge : BarEdge;
            box({b.x + (b.width - width) / 2, top, width, saltTop + saltHeight - top}, fill,
                b.width > 8 ? edge : QColor(Qt::transparent));
            // Beyond the axis: cut under its top, with its amount over it.
            if (*b.salt > salt.max) {
                line({b.x, top + 14}, {b.x + b.width, top + 10}, Qt::white, 5);
                text({b.x + b.width / 2 - 90, top - 42, 180, 40}, NumberText(*b.salt), AxisSize, false,
                     Qt::AlignHCenter);
            }
        }
        if (targetSet()) {
            const double ty = saltY(*target_);
            line({left, ty}, {right, ty}, TargetLine, 5, Qt::DashLine);
            // Beside the plot, where no bar covers it.
            text({right + 15, ty - 45, Width - right - 15, 40}, QStringLiteral("目標"), AxisSize, false,
                 Qt::AlignLeft, TargetLine);
            text({right + 15, ty + 5, Width - right - 15, 40}, grams(target_), AxisSize, false, Qt::AlignLeft,
                 TargetLine);
        }

        const double bpTop = saltTop + saltHeight + 100, bpHeight = 250;
        const ChartAxis bp = PressureAxis(report_);
        auto bpY = [&](double v) { return bpTop + bpHeight * (1 - bp.fraction(v)); };
        axis(bp, left, right, bpTop, bpHeight, QStringLiteral("血圧（mmHg）"), bpY);
        for (double limit : {HomeSystolicLimit, HomeDiastolicLimit}) {
            const double ly = bpY(limit);
            line({left, ly}, {right, ly}, ReferenceLine, 2.5, Qt::DashLine);
            text({right + 15, ly - 20, Width - right - 15, 40}, NumberText(limit), AxisSize, false,
                 Qt::AlignLeft, ReferenceLine);
        }
        if (report_.whole.readings == 0)
            text({left, bpTop, right - left, bpHeight}, QStringLiteral("この期間に血圧の記録はありません"),
                 BodySize, false, Qt::AlignHCenter, Grey);
        for (const Bar& b : bars) {
            if (!b.high) continue;
            const double width = std::clamp(b.width * 0.35, 2.0, 24.0);
            const double top = bpY(*b.high), low = bpY(*b.low);
            box({b.x + (b.width - width) / 2, top, width, std::max(low - top, 3.0)}, colour::Lavender,
                PressureEdge);
        }

        double below = bpTop + bpHeight + 8;
        const DateAxis dates = DateAxisFor(report_.from, report_.to);
        // The marks count from the period's first day, the chart perhaps from before it.
        const double skip = static_cast<double>(shown.first.daysTo(report_.from));
        for (const DateMark& mark : dates.marks) {
            // A day's mark stands under its bar, a month's at its first day.
            const double x = left + (skip + mark.day + (mark.label.size() == 5 ? 0.5 : 0)) * slot;
            line({x, bpTop + bpHeight}, {x, bpTop + bpHeight + 12}, Grey, 2);
            text({x - 90, below + 6, 180, 40}, mark.label, AxisSize, false, Qt::AlignHCenter);
        }
        below += 50;
        if (!dates.years.empty()) {
            for (size_t i = 0; i < dates.years.size(); ++i) {
                const YearSpan& y = dates.years[i];
                const QRectF band(left + (skip + y.firstDay) * slot, below,
                                  (y.lastDay - y.firstDay + 1) * slot, 40);
                box(band, YearBand[i % 2]);
                // A year of a few days at an end of the period keeps its band, not its name.
                if (band.width() >= 90)
                    text(band, QStringLiteral("%1年").arg(y.year), AxisSize, false, Qt::AlignHCenter);
            }
            below += 48;
        }
        legend(below + 4, per);
        y_ = below + 64;
    }

    template <class ToY>
    void axis(const ChartAxis& a, double left, double right, double top, double height, const QString& title,
              ToY toY) {
        text({0, top - 48, 600, 42}, title, AxisSize, true, Qt::AlignLeft);
        for (double v = a.min; v <= a.max + a.step / 1000; v += a.step) {
            const double y = toY(v);
            line({left, y}, {right, y}, v == a.min ? Ink : Rule, v == a.min ? 3 : 1.5);
            text({0, y - 20, left - 20, 40}, NumberText(v), AxisSize, false, Qt::AlignRight);
        }
        line({left, top}, {left, top + height}, Ink, 3);
    }

    void legend(double y, const QString& per) {
        double x = 0;
        auto label = [&](const QString& words, double width) {
            text({x + 62, y, width, 42}, words, BodySize, false, Qt::AlignLeft);
            x += 62 + width;
        };
        if (targetSet()) {
            box({x, y + 8, 50, 26}, colour::LightOrange, BarEdge);
            label(QStringLiteral("目標以内の%1").arg(per), 250);
            box({x, y + 8, 50, 26}, colour::Salmon, BarEdge);
            label(QStringLiteral("目標を超えた%1").arg(per), 280);
            line({x, y + 21}, {x + 50, y + 21}, TargetLine, 5, Qt::DashLine);
            label(QStringLiteral("1日の目標"), 190);
        } else {
            box({x, y + 8, 50, 26}, NeutralBar, NeutralEdge);
            label(QStringLiteral("塩分"), 120);
        }
        box({x + 15, y + 2, 20, 38}, colour::Lavender, PressureEdge);
        label(QStringLiteral("血圧（上〜下）"), 260);
        line({x, y + 21}, {x + 50, y + 21}, ReferenceLine, 2.5, Qt::DashLine);
        label(QStringLiteral("家庭血圧の基準 135/85"), 400);
    }

    void row(double x, double y, const std::vector<Cell>& cells, bool bold, bool header = false) {
        double cx = x;
        for (const Cell& c : cells) {
            if (c.fill.alpha()) box({cx, y + 2, c.width, RowHeight - 4}, c.fill);
            text({cx + 10, y, c.width - 20, header ? HeaderHeight : RowHeight}, c.text,
                 header ? HeaderSize : BodySize, bold, header ? Qt::AlignHCenter : c.align);
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
            here = RowsOnPage(here, count - i);
            const int perColumn = (here + columns - 1) / columns;
            const double gap = columns > 1 ? (Width - columns * columnWidth) / (columns - 1) : 0;
            for (int c = 0; c < columns && c * perColumn < here; ++c) {
                const double x = c * (columnWidth + gap);
                header(x, y_);
                for (int r = 0; r < perColumn && c * perColumn + r < here; ++r)
                    drawRow(i + c * perColumn + r, x, y_ + HeaderHeight + r * RowHeight);
            }
            i += here;
            y_ += HeaderHeight + perColumn * RowHeight + 40;
            if (i < count) nextPage();
        }
    }

    std::vector<Cell> sumsCells(const QString& label, const DaySums& s, qint64 length) const {
        return {
            {label, 370, Qt::AlignLeft},        {QStringLiteral("%1/%2").arg(s.days).arg(length), 238},
            {TenthsText(s.saltTenths()), 238},  {OverText(s), 238},
            {QString::number(s.readings), 238}, {WholeText(s.highMmHg()), 238},
            {WholeText(s.lowMmHg()), 238},
        };
    }

    // Runs of the period and the whole period's line under them.
    void sumsTable(const QString& title, const QString& first, const std::vector<DaySums>& runs,
                   const std::function<QString(const DaySums&)>& name) {
        if (y_ + 62 + HeaderHeight + 3 * RowHeight > bottom()) nextPage();
        section(title);
        const int count = static_cast<int>(runs.size()) + 1;
        const std::vector<Cell> heads = {
            {first, 370},
            {QStringLiteral("記録日数"), 238},
            {QStringLiteral("平均塩分"), 238},
            {QStringLiteral("超過日数"), 238},
            {QStringLiteral("測定日数"), 238},
            // The averages of the upper and lower values, not the run's
            // highest and lowest reading.
            {QStringLiteral("血圧 上"), 238},
            {QStringLiteral("血圧 下"), 238},
        };
        table(
            count, 1, Width, [&](double x, double y) { row(x, y, heads, true, true); },
            [&](int i, double x, double y) {
                if (i < count - 1) {
                    const DaySums& w = runs[static_cast<size_t>(i)];
                    row(x, y, sumsCells(name(w), w, w.from.daysTo(w.to) + 1), false);
                } else {
                    const DaySums& w = report_.whole;
                    line({x, y}, {x + Width, y}, Ink, 3);
                    row(x, y, sumsCells(QStringLiteral("期間全体"), w, w.from.daysTo(w.to) + 1), true);
                }
            });
    }

    void weeks() {
        sumsTable(QStringLiteral("週ごとの平均（塩分 g、血圧 mmHg、四捨五入）"), QStringLiteral("週"),
                  report_.weeks, [](const DaySums& w) { return span(w.from, w.to); });
    }

    void months() {
        sumsTable(QStringLiteral("月ごとのまとめ（平均は四捨五入、塩分 g、血圧 mmHg）"), QStringLiteral("月"),
                  report_.months, [](const DaySums& m) { return monthSpan(m.from, m.to); });
    }

    void days() {
        if (y_ + 62 + HeaderHeight + 3 * RowHeight > bottom()) nextPage();
        section(QStringLiteral("毎日の記録"));
        constexpr double column = 880;
        const std::vector<Cell> heads = {{QStringLiteral("日付"), 370},
                                         {QStringLiteral("塩分 (g)"), 170},
                                         {QStringLiteral("目標"), 120},
                                         {QStringLiteral("血圧 上/下"), 220}};
        table(
            static_cast<int>(report_.days.size()), 2, column,
            [&](double x, double y) { row(x, y, heads, true, true); },
            [&](int i, double x, double y) {
                const ReportDay& d = report_.days[static_cast<size_t>(i)];
                const bool counted = d.saltAmount.has_value() && targetSet();
                row(x, y,
                    {{dayWithWeekday(d.date), 370, Qt::AlignLeft},
                     {d.salt, 170, Qt::AlignRight,
                      counted ? (d.overTarget ? colour::Salmon : colour::PaleYellow)
                              : QColor(Qt::transparent)},
                     {d.overTarget                   ? QStringLiteral("超過")
                      : !targetSet() && d.saltAmount ? QStringLiteral("—")
                                                     : QString(),
                      120, Qt::AlignHCenter},
                     {d.lowAmount ? d.high + QLatin1Char('/') + d.low : QString(), 220, Qt::AlignHCenter}},
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
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter));
}

bool PaintReport(QPagedPaintDevice& device, const SaltReport& report, QDate made) {
    const QPageLayout layout = device.pageLayout();
    const QRectF paper = layout.paintRect(QPageLayout::Millimeter);
    // The content is laid out 180 mm wide; a printer with wider margins
    // shrinks it evenly rather than cutting it off.
    const double scale = std::min(1.0, paper.width() * 10 / Width);
    const double height = paper.height() * 10 / scale;

    Pages counting(nullptr, nullptr, report, made, 0, height);
    counting.draw();

    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    // A tenth of a millimetre in the device's pixels, from its resolution:
    // the paint rectangle in pixels goes through whole points and is 0.2 %
    // short, which made 10.5 pt type 10.47.
    const double perUnit = device.logicalDpiX() / 254.0 * scale;
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
    CorrectPdfToUnicode(bytes);
    return bytes;
}

}  // namespace morv

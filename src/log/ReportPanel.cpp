#include "log/ReportPanel.h"

#include "exchange/core/ExchangeFiles.h"
#include "log/ReportPainter.h"
#include "platform/CalendarControl.h"
#include "platform/EscapeKey.h"
#include "platform/KeyRules.h"
#include "platform/TabRing.h"
#include "platform/core/Clock.h"
#include "platform/core/Dialogs.h"
#include "storage/SafeWrite.h"
#include "text/DateText.h"
#include "ui/Controls.h"
#include "ui/Shortcuts.h"

#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace morv {
namespace {

constexpr int PanelWidth = 328;
constexpr int PanelHeight = 168;
constexpr int CalendarHeight = 200;

}  // namespace

QString ProposedReportName(QDate date) {
    return ReportFilePrefix + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".pdf");
}

QString WithPdfExtension(const QString& path) {
    return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? path : path + QLatin1String(".pdf");
}

ReportPanel::ReportPanel(QWidget* parent, Dialogs& dialogs, const Clock& clock, Source source)
    : QFrame(parent), dialogs_(dialogs), clock_(clock), source_(std::move(source)) {
    SetUpPanel(this, QStringLiteral("ReportPanel"));
    setGeometry(640, 290, PanelWidth, PanelHeight);
    LabelTitle = MakeLabel(this, QStringLiteral("LabelTitle"), QStringLiteral("レポート"), {12, 8, 200, 26});
    MakeBold(LabelTitle, 11);
    LabelStart = MakeLabel(this, QStringLiteral("LabelStart"), QStringLiteral("開始日"), {12, 44, 60, 26});
    TextStart = MakeBox(this, QStringLiteral("TextStart"), {76, 44, 110, 26});
    CommandStartCalendar =
        MakeButton(this, QStringLiteral("CommandStartCalendar"), QStringLiteral("CL"), {192, 44, 40, 26});
    LabelEnd = MakeLabel(this, QStringLiteral("LabelEnd"), QStringLiteral("終了日"), {12, 78, 60, 26});
    TextEnd = MakeBox(this, QStringLiteral("TextEnd"), {76, 78, 110, 26});
    CommandEndCalendar =
        MakeButton(this, QStringLiteral("CommandEndCalendar"), QStringLiteral("CL"), {192, 78, 40, 26});
    CommandPdf =
        MakeButton(this, QStringLiteral("CommandPdf"), QStringLiteral("PDF出力"), {12, 122, 100, 34});
    CommandPrint =
        MakeButton(this, QStringLiteral("CommandPrint"), QStringLiteral("印刷"), {118, 122, 90, 34});
    CommandCancel =
        MakeButton(this, QStringLiteral("CommandCancel"), QStringLiteral("キャンセル"), {214, 122, 102, 34});
    for (QLineEdit* box : {TextStart, TextEnd}) {
        box->setAlignment(Qt::AlignCenter);
        box->setMaxLength(10);
        SelectAllOnFocus(box);
    }
    TextStart->setAccessibleName(QStringLiteral("レポートの開始日"));
    TextEnd->setAccessibleName(QStringLiteral("レポートの終了日"));
    CommandStartCalendar->setAccessibleName(QStringLiteral("開始日のカレンダーを開く"));
    CommandEndCalendar->setAccessibleName(QStringLiteral("終了日のカレンダーを開く"));
    CommandPdf->setToolTip(QStringLiteral("塩分と血圧のレポートをPDFファイルに出力します"));
    CommandPrint->setToolTip(QStringLiteral("塩分と血圧のレポートを印刷します"));

    Calendar = new CalendarControl(this, QStringLiteral("ReportCalendar"),
                                   {12, PanelHeight, PanelWidth - 24, CalendarHeight - 8});
    Calendar->installEventFilter(this);
    connect(Calendar, &CalendarControl::dayPicked, this, &ReportPanel::onDayPicked);
    connect(CommandStartCalendar, &QPushButton::clicked, this, [this] { openCalendar(TextStart); });
    connect(CommandEndCalendar, &QPushButton::clicked, this, [this] { openCalendar(TextEnd); });
    connect(CommandPdf, &QPushButton::clicked, this, &ReportPanel::SavePdf);
    connect(CommandPrint, &QPushButton::clicked, this, &ReportPanel::Print);
    connect(CommandCancel, &QPushButton::clicked, this, &ReportPanel::Cancel);
    CloseOnEscape(this, [this] {
        if (Calendar->isVisible()) return closeCalendar();
        PressIfShown(CommandCancel);
    });
    CommandCancel->setAccessibleDescription(keys::Back);

    choosePrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, window());
        return dialog.exec() == QDialog::Accepted;
    };
    hasPrinter = [] { return !QPrinterInfo::availablePrinterNames().isEmpty(); };
    hide();
}

void ReportPanel::Open() {
    const std::optional<QDate> main = ReadDate(NormalizeDateText(source_.mainDate()));
    const QDate end = main ? *main : clock_.today();
    TextStart->setText(DateText(end.addDays(-(ReportDefaultDays - 1))));
    TextEnd->setText(DateText(end));
    closeCalendar();
    raise();
    show();
    TextStart->setFocus();
}

void ReportPanel::Cancel() {
    closeCalendar();
    hide();
}

std::optional<SaltReport> ReportPanel::report() {
    closeCalendar();
    auto read = [this](QLineEdit* box, const QString& problem) -> std::optional<QDate> {
        const std::optional<QDate> date = ReadDate(NormalizeDateText(box->text()));
        if (date) {
            box->setText(DateText(*date));
        } else {
            dialogs_.notice(problem);
            box->setFocus();
        }
        return date;
    };
    const std::optional<QDate> from = read(TextStart, BadStartDateText);
    if (!from) return std::nullopt;
    const std::optional<QDate> to = read(TextEnd, BadEndDateText);
    if (!to) return std::nullopt;
    if (*from > *to) {
        dialogs_.notice(StartAfterEndText);
        TextStart->setFocus();
        return std::nullopt;
    }
    if (from->daysTo(*to) + 1 > ReportMaxDays) {
        dialogs_.notice(QStringLiteral("期間は%1日以内にしてください").arg(ReportMaxDays));
        TextStart->setFocus();
        return std::nullopt;
    }
    return MakeSaltReport(source_.log(), *from, *to, source_.target());
}

void ReportPanel::SavePdf() {
    const std::optional<SaltReport> made = report();
    if (!made) return;
    FileRequest request;
    request.title = SaveDialogTitle;
    request.filter = PdfFileFilter;
    request.proposedName = ProposedReportName(made->to);
    const std::optional<QString> chosen = dialogs_.chooseSaveFile(request);
    if (!chosen) return;
    const QString path = WithPdfExtension(*chosen);
    if (QFileInfo::exists(path) && !dialogs_.askYesNo(OverwriteQuestion(path))) {
        CommandPdf->setFocus();
        return;
    }
    const QByteArray pdf = ReportPdf(*made, clock_.today());
    if (pdf.isEmpty() || !ReplaceFileDurably(SystemFileOps(), path, pdf)) {
        dialogs_.notice(ExportFailedText);
        CommandPdf->setFocus();
        return;
    }
    dialogs_.notice(ExportedNotice(path));
    hide();
}

void ReportPanel::Print() {
    const std::optional<SaltReport> made = report();
    if (!made) return;
    if (!hasPrinter()) {
        if (dialogs_.askYesNo(NoPrinterText + QStringLiteral("\r\n\r\n") + SaveAsPdfQuestion))
            return SavePdf();
        CommandPrint->setFocus();
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(ReportTitle);
    SetUpReportPage(printer);
    if (!choosePrinter(printer)) {
        CommandPrint->setFocus();
        return;
    }
    // Printed to a file: the same PDF as "PDF出力" writes, whose text reads
    // back as drawn, replaced atomically, and the user is told where it is.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        const QString path = printer.outputFileName();
        const QByteArray pdf = ReportPdf(*made, clock_.today());
        if (pdf.isEmpty() || !ReplaceFileDurably(SystemFileOps(), path, pdf)) {
            dialogs_.notice(ExportFailedText);
            CommandPrint->setFocus();
            return;
        }
        dialogs_.notice(ExportedNotice(path));
        hide();
        return;
    }
    if (!PaintReport(printer, *made, clock_.today())) {
        dialogs_.notice(PrintFailedText);
        CommandPrint->setFocus();
        return;
    }
    hide();
}

void ReportPanel::openCalendar(QLineEdit* box) {
    calendarFor_ = box;
    Calendar->setFromText(box->text(), clock_.today());
    resize(PanelWidth, PanelHeight + CalendarHeight);
    Calendar->show();
    Calendar->setFocus();
}

void ReportPanel::closeCalendar() { Calendar->hide(); }

bool ReportPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Calendar && event->type() == QEvent::Hide) resize(PanelWidth, PanelHeight);
    return QFrame::eventFilter(watched, event);
}

void ReportPanel::onDayPicked() {
    QLineEdit* box = calendarFor_ ? calendarFor_ : TextStart;
    box->setText(Calendar->pickedText());
    closeCalendar();
    box->setFocus();
}

bool ReportPanel::focusNextPrevChild(bool next) {
    // Hidden, it holds the focus no more: Qt asks it once while it hides.
    if (!isVisible()) return QFrame::focusNextPrevChild(next);
    return MoveFocusInRing({TextStart, CommandStartCalendar, TextEnd, CommandEndCalendar, CommandPdf,
                            CommandPrint, CommandCancel, Calendar},
                           next);
}

}  // namespace morv

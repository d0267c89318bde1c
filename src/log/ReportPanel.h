#pragma once
// The report panel of the salt list: a period, by default the 28 days ending
// on the main date, written as a PDF file or sent to a printer. It reads the
// log, the target and the main date through the functions it is given, so it
// knows nothing of the window that holds them.

#include "log/core/ReportSums.h"
#include "storage/Records.h"

#include <QFrame>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace morv {

class CalendarControl;
class Clock;
class Dialogs;

inline const QString ReportFilePrefix = QStringLiteral("Morvalineレポート");
inline const QString PdfFileFilter = QStringLiteral("PDFファイル(*.pdf)");
inline const QString BadStartDateText = QStringLiteral("開始日を正しい日付で入力してください");
inline const QString BadEndDateText = QStringLiteral("終了日を正しい日付で入力してください");
inline const QString StartAfterEndText = QStringLiteral("開始日が終了日より後になっています");
inline const QString PrintFailedText = QStringLiteral("印刷できませんでした");
inline const QString NoPrinterText = QStringLiteral("プリンターが設定されていません。PDFに保存できます。");
inline const QString SaveAsPdfQuestion = QStringLiteral("PDFファイルに保存しますか？");

// "Morvalineレポート" + the digits of the date + ".pdf".
QString ProposedReportName(QDate date);
// A chosen path without ".pdf" at its end (in any case) gets it.
QString WithPdfExtension(const QString& path);

class ReportPanel : public QFrame {
    Q_OBJECT
public:
    struct Source {
        std::function<const LogList&()> log;
        std::function<QString()> target;
        std::function<QString()> mainDate;
    };

    ReportPanel(QWidget* parent, Dialogs& dialogs, const Clock& clock, Source source);

    // Shown with the 28 days ending on the main date (today when the main
    // date is no date).
    void Open();
    void SavePdf();
    void Print();
    void Cancel();

    // Asks the system's print dialog to set the printer up; false when the
    // user cancels. Tests put their own in its place.
    std::function<bool(QPrinter&)> choosePrinter;
    // Whether the system has a printer at all; without one, the print
    // dialog's only choice would write a file the user never named.
    std::function<bool()> hasPrinter;

    QLabel* LabelTitle = nullptr;
    QLabel* LabelStart = nullptr;
    QLineEdit* TextStart = nullptr;
    QPushButton* CommandStartCalendar = nullptr;
    QLabel* LabelEnd = nullptr;
    QLineEdit* TextEnd = nullptr;
    QPushButton* CommandEndCalendar = nullptr;
    QPushButton* CommandPdf = nullptr;
    QPushButton* CommandPrint = nullptr;
    QPushButton* CommandCancel = nullptr;
    CalendarControl* Calendar = nullptr;

    bool focusNextPrevChild(bool next) override;

protected:
    // The panel is as tall as the calendar needs only while it is open,
    // however it closes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The report of the period in the boxes, or nothing after telling the
    // user what is wrong with them.
    std::optional<SaltReport> report();
    void openCalendar(QLineEdit* box);
    void closeCalendar();
    void onDayPicked();

    Dialogs& dialogs_;
    const Clock& clock_;
    Source source_;
    QLineEdit* calendarFor_ = nullptr;
};

}  // namespace morv

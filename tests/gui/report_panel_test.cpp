// The salt list's report panel and summary line: the period it proposes, the
// dates it refuses, and what it writes or prints.

#include "SaltListFixture.h"
#include "exchange/core/ExchangeFiles.h"
#include "grid/ItemGrid.h"
#include "log/ReportCommand.h"
#include "log/ReportPanel.h"

#include <QPrinter>

namespace morv::test {
namespace {

class ReportPanelTest : public SaltListFixture {
protected:
    ReportPanel& openPanel(LogList log) {
        SaltListScreen& list = openWith(std::move(log));
        list.CommandReport->click();
        return *list.Report;
    }
    QString output(const char* name) const { return home.path() + QLatin1Char('/') + QLatin1String(name); }
    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(ReportPanelTest, SummaryLineFollowsThePageShown) {
    LogList log = days(21, QDate(2023, 12, 1), QStringLiteral("6.0"));
    log[19].DaySalt = QStringLiteral("6.1");
    log[20] = {QStringLiteral("2023/12/21"), QStringLiteral("9"), QStringLiteral("80"),
               QStringLiteral("121")};
    SaltListScreen& list = openWith(log);
    EXPECT_EQ(list.LabelSummary->text(),
              QStringLiteral("表示中の1日：平均塩分 9.0 g、目標超過 —\n平均血圧 121/80 mmHg"));
    EXPECT_EQ(list.LabelSummary->accessibleName(),
              QStringLiteral("表示中の1日：平均塩分 9.0 g、目標超過 —、平均血圧 121/80 mmHg"));
    EXPECT_EQ(list.LabelSummary->textFormat(), Qt::PlainText);
    list.PreviousPage();
    EXPECT_EQ(list.LabelSummary->text(), QStringLiteral("表示中の20日：平均塩分 6.0 g、目標超過 —"));

    // In type no smaller than the list's rows and the item grid's, and the
    // longest summary still fits its two lines.
    QLabel* summary = list.LabelSummary;
    EXPECT_GE(summary->font().pointSizeF(), list.LabelE2[0]->font().pointSizeF());
    EXPECT_GE(summary->font().pointSizeF(), form->Grid()->TextName[0]->font().pointSizeF());
    const QStringList longest{QStringLiteral("表示中の20日：平均塩分 12.3 g、目標超過 20日"),
                              QStringLiteral("平均血圧 141/85 mmHg")};
    for (const QString& line : longest)
        EXPECT_LE(summary->fontMetrics().horizontalAdvance(line), summary->contentsRect().width())
            << qPrintable(line);
    EXPECT_LE(2 * summary->fontMetrics().lineSpacing(), summary->contentsRect().height());
}

TEST_F(ReportPanelTest, RefusesBadPeriodsAndWritesNothing) {
    ReportPanel& panel = openPanel(days(3));
    ASSERT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.objectName(), QStringLiteral("ReportPanel"));
    EXPECT_EQ(panel.TextStart->text(), QStringLiteral("2023/12/09"));
    EXPECT_EQ(panel.TextEnd->text(), QStringLiteral("2024/01/05"));
    struct Case {
        const char *start, *end;
        QString message;
    };
    const Case cases[] = {
        {"2024/02/30", "2024/03/01", BadStartDateText},
        {"2024/01/01", "abc", BadEndDateText},
        {"2024/01/06", "2024/01/05", StartAfterEndText},
        {"1990/01/01", "2024/01/05", QStringLiteral("期間は3660日以内にしてください")},
    };
    for (const Case& c : cases) {
        dialogs.calls.clear();
        panel.TextStart->setText(QLatin1String(c.start));
        panel.TextEnd->setText(QLatin1String(c.end));
        panel.CommandPdf->click();
        panel.CommandPrint->click();
        EXPECT_EQ(dialogs.notices(), QStringList({c.message, c.message})) << c.start << " " << c.end;
        EXPECT_EQ(dialogs.calls.size(), 2u) << "no file dialog after a refusal";
    }
    EXPECT_TRUE(panel.isVisible());
}

TEST_F(ReportPanelTest, WritesThePdfAtomicallyAfterAskingToOverwrite) {
    ReportPanel& panel = openPanel(days(40, QDate(2023, 12, 1)));
    panel.TextStart->setText(QStringLiteral("20231210"));  // typed without slashes
    const QString chosen = output("report");
    dialogs.fileChoices = {chosen};
    panel.CommandPdf->click();
    EXPECT_EQ(panel.TextStart->text(), QStringLiteral("2023/12/10"));
    ASSERT_EQ(dialogs.calls.front().kind, DialogCall::Kind::SaveFile);
    EXPECT_EQ(dialogs.calls.front().request.proposedName, QStringLiteral("Morvalineレポート20240105.pdf"));
    const QByteArray first = contents(chosen + ".pdf");
    EXPECT_TRUE(first.startsWith("%PDF-"));
    EXPECT_FALSE(panel.isVisible());

    // No to the overwrite question keeps the file as it was.
    panel.Open();
    panel.TextStart->setText(QStringLiteral("2023/12/20"));
    dialogs.calls.clear();
    dialogs.fileChoices = {chosen + ".pdf"};
    panel.CommandPdf->click();
    ASSERT_EQ(dialogs.questions().size(), 1);
    EXPECT_EQ(contents(chosen + ".pdf"), first);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(QDir(home.path()).entryList({QStringLiteral("report*")}),
              QStringList{QStringLiteral("report.pdf")});
}

TEST_F(ReportPanelTest, PrintsThroughThePrinterTheDialogChose) {
    ReportPanel& panel = openPanel(days(10, QDate(2023, 12, 28)));
    bool asked = false;
    panel.choosePrinter = [&](QPrinter&) {
        asked = true;
        return false;
    };
    panel.hasPrinter = [] { return true; };
    panel.CommandPrint->click();  // cancelled
    EXPECT_TRUE(asked);
    EXPECT_TRUE(panel.isVisible());

    const QString file = output("printed.pdf");
    panel.choosePrinter = [&](QPrinter& printer) {
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        return true;
    };
    panel.CommandPrint->click();
    EXPECT_TRUE(contents(file).startsWith("%PDF-"));
    EXPECT_FALSE(panel.isVisible());
    // A print to a file names the file written.
    EXPECT_EQ(dialogs.notices(), QStringList{ExportedNotice(file)});

    // No printer at all: said so, and Yes saves the PDF instead.
    panel.Open();
    panel.hasPrinter = [] { return false; };
    dialogs.calls.clear();
    dialogs.answers = {true};
    dialogs.fileChoices = {output("instead")};
    panel.CommandPrint->click();
    ASSERT_EQ(dialogs.questions().size(), 1);
    EXPECT_TRUE(dialogs.questions().front().startsWith(NoPrinterText));
    EXPECT_TRUE(contents(output("instead.pdf")).startsWith("%PDF-"));
    EXPECT_EQ(dialogs.notices(), QStringList{ExportedNotice(output("instead.pdf"))});
}

TEST(ReportArguments, DefaultsToTheTwentyEightDaysEndingTodayAndRefusesTheRest) {
    const QDate today(2024, 3, 10);
    struct Case {
        QStringList arguments;
        const char *from, *to;  // nothing: refused
    };
    const Case cases[] = {
        {{"--report", "a.pdf"}, "2024/02/12", "2024/03/10"},
        {{"--report=a.pdf", "--to", "2024/1/31"}, "2024/01/04", "2024/01/31"},
        {{"--report", "a.pdf", "--from", "2024/03/01"}, "2024/03/01", "2024/03/10"},
        // The panel's forms of a date.
        {{"--report", "a.pdf", "--from", "2024-03-01", "--to", "20240305"}, "2024/03/01", "2024/03/05"},
        {{"--report", "a.pdf", "--from", "2024/03/11"}, nullptr, nullptr},
        {{"--report", "a.pdf", "--from", "2024/02/30"}, nullptr, nullptr},
        {{"--report", "a.pdf", "--to", "2024/03/01", "--to", "2024/03/02"}, nullptr, nullptr},
        {{"--report", "a.pdf", "extra"}, nullptr, nullptr},
        {{"--report", ""}, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        QString why;
        const auto request = ParseReportArguments(QStringList{"morvaline"} + c.arguments, today, why);
        const QString args = c.arguments.join(u' ');
        if (!c.from) {
            EXPECT_FALSE(request) << args.toStdString();
            EXPECT_FALSE(why.isEmpty() || why.contains(u'\n')) << args.toStdString();
            continue;
        }
        ASSERT_TRUE(request) << args.toStdString() << ": " << why.toStdString();
        EXPECT_EQ(request->file, QStringLiteral("a.pdf"));
        EXPECT_EQ(request->from.toString("yyyy/MM/dd"), QLatin1String(c.from)) << args.toStdString();
        EXPECT_EQ(request->to.toString("yyyy/MM/dd"), QLatin1String(c.to)) << args.toStdString();
    }
}

}  // namespace
}  // namespace morv::test

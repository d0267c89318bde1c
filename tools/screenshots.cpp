// Renders the window with sample data to PNG files, for review and the README.
// Usage: morvaline-screenshots OUTPUT_FOLDER

#include "exchange/DataDialog.h"
#include "exchange/PreviewBar.h"
#include "grid/ItemGrid.h"
#include "log/ReportPainter.h"
#include "log/ReportPanel.h"
#include "log/SaltListScreen.h"
#include "log/core/ReportSums.h"
#include "platform/CalendarControl.h"
#include "platform/Translations.h"
#include "platform/core/Clock.h"
#include "platform/core/Dialogs.h"
#include "seasoning/SeasoningPanel.h"
#include "seasoning/SeasoningStrip.h"
#include "selected/SelectedItemsPanel.h"
#include "storage/DataFolder.h"
#include "text/Cp932.h"
#include "ui/Colours.h"
#include "window/Form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <cstdio>
#include <utility>

namespace {

// Answers No and cancels, except that an open dialog picks `openFile` once.
class SilentDialogs final : public morv::Dialogs {
public:
    QString openFile;
    void notice(const QString&) override {}
    bool askYesNo(const QString&) override { return false; }
    std::optional<QString> chooseSaveFile(const morv::FileRequest&) override { return std::nullopt; }
    std::optional<QString> chooseOpenFile(const morv::FileRequest&) override {
        if (openFile.isEmpty()) return std::nullopt;
        return std::exchange(openFile, QString());
    }
};

class SampleDay final : public morv::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 5), QTime(19, 0)); }
};

void writeSample(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(morv::EncodeCp932(text));
}

void sampleData(const QString& folder) {
    writeSample(folder + "Kiroku.txt", QStringLiteral("\"1\",\"みそ汁\",\"\",\"1.5\"\r\n"
                                                      "\"1\",\"焼き鮭\",\"\",\"1.8\"\r\n"
                                                      "\"0\",\"梅干し\",\"\",\"2.2\"\r\n"
                                                      "\"1\",\"食パン(6枚切り)\",\"470\",\"1.19\"\r\n"
                                                      "\"0\",\"カップ麺\",\"\",\"5.1\"\r\n"));
    writeSample(folder + "Moku.txt", QStringLiteral("6.5\r\n"));
    QString log;
    for (int day = 1; day <= 24; ++day)
        log += QStringLiteral("\"2024/02/%1\",\"%2\",\"\",\"\"\r\n")
                   .arg(day, 2, 10, QLatin1Char('0'))
                   .arg(5.0 + (day * 37 % 30) / 10.0);
    writeSample(folder + "Enbun.txt", log);
}

bool save(QWidget& window, const QString& path) {
    QApplication::processEvents();
    const bool ok = window.grab().save(path);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(morv::NewProgramStyle());
    morv::LoadJapaneseQtTexts(app);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(out);

    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    const QString folder = morv::LocateDataFolder(home.path());
    sampleData(folder);

    SilentDialogs dialogs;
    SampleDay clock;
    morv::Form1 window(dialogs, clock, folder);
    window.Load();
    window.show();
    bool ok = save(window, out + "/main.png");

    // The same day against a lower target: the total turns salmon.
    window.TextMoku()->setText(QStringLiteral("4"));
    ok &= save(window, out + "/main-over-target.png");
    window.TextMoku()->setText(QStringLiteral("6.5"));

    window.Command16()->click();
    ok &= save(window, out + "/main-calendar.png");
    window.Calendar1().hide();
    // The salt list on its last page with the blood-pressure bars on.
    for (int i = 0; i < window.LogCount(); ++i) {
        if (i % 5 == 3) continue;  // a few days without a reading
        window.diary().SetReading(i, QString::number(72 + i * 7 % 15), QString::number(118 + i * 11 % 26));
    }
    window.Command3()->click();
    window.PictureE()->Command17->click();
    window.PictureE()->Command40->click();
    ok &= save(window, out + "/salt-list.png");
    // The report of four weeks of that log, as a PDF; `make screenshots`
    // turns its first page into report.png.
    {
        const morv::SaltReport report = morv::MakeSaltReport(window.DailyLog(), QDate(2024, 1, 29),
                                                             QDate(2024, 2, 25), window.SaltTarget());
        QFile pdf(out + "/report.pdf");
        const QByteArray bytes = morv::ReportPdf(report, clock.today());
        const bool written =
            !bytes.isEmpty() && pdf.open(QIODevice::WriteOnly) && pdf.write(bytes) == bytes.size();
        std::fprintf(written ? stdout : stderr, "%s %s\n", written ? "wrote" : "could not write",
                     qPrintable(pdf.fileName()));
        ok &= written;
    }
    window.PictureE()->CommandReport->click();
    ok &= save(window, out + "/salt-list-report.png");
    window.PictureE()->Report->CommandStartCalendar->click();
    ok &= save(window, out + "/salt-list-report-calendar.png");
    window.PictureE()->Report->CommandCancel->click();
    window.PictureE()->Command35->click();
    ok &= save(window, out + "/salt-list-calendar.png");
    window.PictureE()->hide();

    // A log from another machine on the list, waiting to be confirmed.
    QString imported;
    for (int day = 1; day <= 9; ++day)
        imported += QStringLiteral("\"2024/03/%1\",\"%2\",\"%3\",\"%4\"\r\n")
                        .arg(day, 2, 10, QLatin1Char('0'))
                        .arg(4.5 + (day * 53 % 40) / 10.0)
                        .arg(70 + day * 3 % 11)
                        .arg(120 + day * 7 % 19);
    writeSample(home.path() + "/塩分一覧.TXT", imported);
    dialogs.openFile = home.path() + "/塩分一覧.TXT";
    window.Command8()->click();
    window.Picture2()->Command24->click();
    window.PictureE()->Command40->click();
    ok &= save(window, out + "/salt-list-import.png");
    window.PictureE()->Command29->click();

    // The calculator: salt and soy sauce ticked, the salt scaled to a third,
    // and the side calculator working out a free amount.
    window.Grid()->TextEnbun[1]->setFocus();
    window.Picture7()->Command43->click();
    morv::SeasoningPanel& calc = *window.PictureCho();
    calc.CheckC[0]->click();
    calc.Commandc3w[0]->click();
    calc.CheckC[3]->click();
    calc.Commandc2b[3]->click();
    calc.Command48->click();
    calc.TextEnbunC[21]->setText(QStringLiteral("0.5"));
    calc.Command50->click();
    calc.TextEnbunC[21]->setText(QStringLiteral("1.2"));
    calc.TextBaiC->setText(QStringLiteral("1.5"));
    ok &= save(window, out + "/seasoning.png");
    calc.Command46->click();
    ok &= save(window, out + "/main-seasoning-carried.png");

    // The selected-items list with every item of a fuller day ticked.
    const QString names[] = {QStringLiteral("ごはん"), QStringLiteral("納豆"), QStringLiteral("ﾎﾟﾃﾄｻﾗﾀﾞ"),
                             QStringLiteral("Caesar salad"), QStringLiteral("冷ややっこ")};
    morv::Diary& diary = window.diary();
    for (int s = 0; s < 47; ++s) {
        if (diary.ItemTable()[static_cast<std::size_t>(s)].ItemName.isEmpty()) {
            diary.SetItemName(s, names[s % 5] + QString::number(s / 5 + 1));
            diary.SetItemSalt(s, QString::number(0.1 * (s % 9 + 1), 'f', 1));
        }
        diary.SetChecked(s, QStringLiteral("1"));
    }
    window.Command13()->click();
    ok &= save(window, out + "/selected-items.png");
    window.PictureH()->Command19->click();

    window.Command8()->click();
    ok &= save(window, out + "/data-dialog.png");
    // A file from another machine, previewed before it is adopted or dropped.
    writeSample(home.path() + "/持ち寄り.TXT", QStringLiteral("\"2024/02/28\",\"\",\"\",\"\"\r\n"
                                                              "\"1\",\"野菜スープ\",\"\",\"0.9\"\r\n"
                                                              "\"1\",\"ざるそば\",\"\",\"2.4\"\r\n"
                                                              "\"0\",\"たくあん\",\"\",\"0.7\"\r\n"));
    dialogs.openFile = home.path() + "/持ち寄り.TXT";
    window.Picture2()->Command6->click();
    ok &= save(window, out + "/import-preview.png");
    return ok ? 0 : 1;
}

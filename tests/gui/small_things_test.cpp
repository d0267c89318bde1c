// Smaller comforts: long names in the selected-items list, the file dialogs
// opening where the last file was, and why an import was refused.

#include "GridFixture.h"
#include "exchange/DataDialog.h"
#include "selected/SelectedItemsPanel.h"

#include <QAccessible>
#include <QDir>
#include <QLineEdit>

namespace morv::test {
namespace {

using SmallThings = GridFixture;

TEST_F(SmallThings, ALongNameIsCutWithAnEllipsisButHeardAndShownWhole) {
    const QString longName = QStringLiteral("国産大豆100%使用 有機栽培の木綿豆腐と油揚げのみそ汁 大盛り");
    Form1& w = start();
    w.diary().SetItem(0, {"1", longName, "", "1.5"});
    w.diary().SetItem(1, {"1", "漬物", "", "0.8"});
    w.Command13()->click();
    QLabel* cut = w.PictureH()->LabelH1[0];
    EXPECT_TRUE(cut->text().endsWith(QStringLiteral("…"))) << qPrintable(cut->text());
    EXPECT_LE(cut->fontMetrics().horizontalAdvance(cut->text()), cut->contentsRect().width());
    EXPECT_EQ(cut->toolTip(), longName);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(cut)->text(QAccessible::Name), longName);
    QLabel* whole = w.PictureH()->LabelH1[1];
    EXPECT_EQ(whole->text(), QStringLiteral(" 漬物"));
    EXPECT_EQ(whole->toolTip(), "");

    // By keys: Down from the page box reaches the names, the cut one shown
    // whole; the arrows stop at the last name, and Tab goes back.
    QLineEdit* pageBox = w.PictureH()->TextPAGE2;
    ASSERT_TRUE(pageBox->hasFocus());
    QTest::keyClick(pageBox, Qt::Key_Down);
    ASSERT_TRUE(cut->hasFocus());
    QLabel* shownWhole = w.PictureH()->WholeName;
    EXPECT_TRUE(shownWhole->isVisible());
    EXPECT_EQ(shownWhole->text(), longName);
    QTest::keyClick(cut, Qt::Key_Down);
    QTest::keyClick(whole, Qt::Key_Down);
    EXPECT_TRUE(whole->hasFocus());
    EXPECT_FALSE(shownWhole->isVisible());
    QTest::keyClick(whole, Qt::Key_Tab);
    EXPECT_TRUE(pageBox->hasFocus());
}

TEST_F(SmallThings, FileDialogsOpenWhereTheLastFileWasAndARefusalSaysWhy) {
    Form1& w = start();
    auto lastFolder = [this] {
        for (auto call = dialogs.calls.rbegin(); call != dialogs.calls.rend(); ++call)
            if (call->kind == DialogCall::Kind::SaveFile || call->kind == DialogCall::Kind::OpenFile)
                return call->request.initialFolder;
        return QStringLiteral("(no file dialog)");
    };
    QDir(home.path()).mkpath("exports");
    const QString utf8File = home.path() + "/exports/utf8.TXT";
    QFile file(utf8File);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("\"2024/01/05\"\r\n\"1\",\"みそ汁\",\"\",\"1.5\"\r\n").toUtf8());
    file.close();

    w.Command8()->click();
    dialogs.fileChoices = {utf8File};
    w.Picture2()->Command6->click();
    EXPECT_EQ(lastFolder(), "") << "the first time: home";
    EXPECT_EQ(dialogs.notices(), QStringList{"指定されたファイルは取り込みできません"});
    EXPECT_EQ(w.Label3()->text(), "文字コードがShift_JIS(CP932)ではありません");

    dialogs.fileChoices = {home.path() + "/out.TXT"};
    w.Picture2()->Command5->click();
    EXPECT_EQ(lastFolder(), home.path() + "/exports");
    w.Command8()->click();
    w.Picture2()->Command23->click();  // the daily log's export, cancelled
    EXPECT_EQ(lastFolder(), home.path());
}

TEST_F(SmallThings, EveryRefusedImportSaysWhyInTheStatusLine) {
    Form1& w = start();
    const QString path = home.path() + "/in.TXT";
    struct Case {
        bool log;
        QByteArray bytes;  // empty: a sparse file of 17 MB
        QString status;
        QStringList notices;
    };
    const QString refused = QStringLiteral("指定されたファイルは取り込みできません");
    const QString failed = QStringLiteral("ファイルの取り込みに失敗しました");
    const Case cases[] = {
        {false,
         "\"2024/01/05\",\"\",\"\",\"\"\r\n\"1\",\"a\",\"\",\"1\"\r\n\"1\",\"b\",\"\",\"1g\"\r\n",
         "2件目の品目の塩分が数値ではありません",
         {refused}},
        {true,
         "\"2024/01/05\",\"6\",\"\",\"\"\r\n\"2024/01/06\",\"abc\",\"\",\"\"\r\n",
         "2件目の塩分が数値ではありません",
         {refused}},
        {false, {}, "ファイルが大きすぎます（16MBまで）", {refused}},
        {false,
         "\"2024/01/05\",\"\",\"\",\"\"\r\n\"1\",\"a\"\r\n",
         "項目数が4の倍数ではありません",
         {failed}},
        {true, "\"2024/01/05\",\"6\"\r\n", failed + "：項目数が4の倍数ではありません", {}},
    };
    for (const Case& c : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        if (c.bytes.isEmpty()) file.resize(17 * 1024 * 1024);
        file.write(c.bytes);
        file.close();
        dialogs.calls.clear();
        w.Command8()->click();
        dialogs.fileChoices = {path};
        (c.log ? w.Picture2()->Command24 : w.Picture2()->Command6)->click();
        EXPECT_EQ(w.Label3()->text(), c.status);
        EXPECT_LE(w.Label3()->fontMetrics().horizontalAdvance(c.status), w.Label3()->contentsRect().width())
            << "the whole reason fits the status line";
        EXPECT_EQ(dialogs.notices(), c.notices) << qPrintable(c.status);
        w.Picture2()->Command7->click();
    }
}

}  // namespace
}  // namespace morv::test

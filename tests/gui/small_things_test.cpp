// Smaller comforts: long names in the selected-items list, the file dialogs
// opening where the last file was, and why an import was refused.

#include "GridFixture.h"
#include "selected/SelectedItemsPanel.h"
#include "exchange/DataDialog.h"

#include <QAccessible>
#include <QDir>

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

}  // namespace
}  // namespace morv::test

// The daily log leaves and comes back through the data dialog, an import is
// confirmed or cancelled on the salt list, and the deletion dialog empties
// either table; Enbun.txt and Kiroku.txt are checked byte for byte.

#include "../unit/storage_test_support.h"
#include "GridFixture.h"
#include "exchange/DataDialog.h"
#include "grid/WeightPanel.h"
#include "log/DeletionPanel.h"
#include "log/SaltListScreen.h"

namespace morv::test {
namespace {

const QByteArray Enbun = "\"2024/01/04\",\"6\",\"\",\"\"\r\n\"2024/01/05\",\"7\",\"\",\"\"\r\n";

class LogExchange : public GridFixture {
protected:
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    QString file(const QString& name) const { return home.path() + u'/' + name; }
    void importLog(const QString& path) {
        click(form->Command8);
        dialogs.fileChoices = {path};
        click(form->Picture2->Command24);
    }
    bool pendingShown() const {
        const SaltListScreen& s = *form->PictureE;
        return form->LogImportPending && s.isVisible() && !s.Command14->isVisible() &&
               s.Label37->isVisible() && s.Command28->isVisible() && s.Command29->isVisible();
    }
};

TEST_F(LogExchange, ExportImportRegisterAReadingAndConfirm) {
    put("Enbun.txt", Enbun);
    Form1& w = start();
    click(w.Command8);
    dialogs.fileChoices = {file("log")};
    click(w.Picture2->Command23);
    EXPECT_EQ(dialogs.calls.at(0).request.proposedName, "Morvaline(塩分一覧)20240105.TXT");
    EXPECT_EQ(ReadBytes(file("log.TXT")), Enbun);
    EXPECT_EQ(dialogs.notices(), QStringList{"ファイルを出力しました\r\n\r\n( " + file("log.TXT") + " )"});
    EXPECT_FALSE(w.Picture2->isVisible());

    // Out of order, with a date as typed and a day twice.
    const QByteArray imported =
        "\"2024/01/05\",\"3\",\"\",\"\"\r\n\"2024/3/5\",\"4\",\"\",\"\"\r\n"
        "\"2023/12/01\",\"5\",\"70\",\"110\"\r\n\"2024/01/05\",\"8\",\"\",\"\"\r\n";
    WriteBytes(file("in.TXT"), imported);
    w.DailyLog[0].DaySalt = "6.5";  // changed since start-up: saved before the import
    importLog(file("in.TXT"));
    EXPECT_EQ(bytes("Enbun.txt"), "\"2024/01/04\",\"6.5\",\"\",\"\"\r\n\"2024/01/05\",\"7\",\"\",\"\"\r\n");
    ASSERT_TRUE(pendingShown());
    EXPECT_FALSE(w.Picture2->isVisible());
    EXPECT_EQ(w.PictureE->LabelE1[1]->text(), "2024/3/5");

    SaltListScreen& s = *w.PictureE;
    click(s.Command40);
    type(s.Text5, "80");
    type(s.Text6, "125");
    click(s.Command39);  // on the main date, the first 2024/01/05

    dialogs.calls.clear();
    dialogs.answers = {false, true};
    click(s.Command28);
    EXPECT_TRUE(pendingShown()) << "answered No";
    EXPECT_TRUE(s.Command29->hasFocus());
    click(s.Command28);
    EXPECT_EQ(dialogs.questions(),
              QStringList(2, "塩分のデータを読み込んだファイルの内容で置き換えますか？"));
    EXPECT_EQ(dialogs.notices(), QStringList{"ファイルの内容を上書きしました"});
    EXPECT_EQ(bytes("Enbun.txt"),
              "\"2024/01/05\",\"3\",\"80\",\"125\"\r\n" + imported.mid(imported.indexOf("\r\n") + 2));
    EXPECT_FALSE(w.LogImportPending);
    EXPECT_FALSE(s.isVisible());
    EXPECT_TRUE(w.Text1_0->hasFocus());
}

TEST_F(LogExchange, RefusedFailedAndCancelledImportsLeaveTheLog) {
    put("Enbun.txt", Enbun);
    WriteBytes(file("letters.TXT"), "\"2024/01/05\",\"abc\",\"\",\"\"\r\n");
    WriteBytes(file("three.TXT"), "\"2024/01/05\",\"1\",\"\"\r\n");
    WriteBytes(file("empty.TXT"), "");
    WriteBytes(file("in.TXT"), "\"2025/01/01\",\"1\",\"\",\"\"\r\n");
    Form1& w = start();
    w.DailyLog[1].PressureLow = "70";  // a reading entered since start-up
    w.DailyLog[1].PressureHigh = "120";
    const LogList before = w.DailyLog;

    const QString refused = "指定されたファイルは取り込みできません";
    const struct {
        const char* name;
        QStringList notices;
    } cases[] = {{"letters.TXT", {refused}},
                 {"empty.TXT", {refused}},
                 {"three.TXT", {"ファイルの取り込みに失敗しました"}}};
    for (const auto& c : cases) {
        dialogs.calls.clear();
        importLog(file(c.name));
        EXPECT_EQ(dialogs.notices(), c.notices) << c.name;
        EXPECT_EQ(w.DailyLog, before) << c.name;
        EXPECT_EQ(bytes("Enbun.txt"), Enbun) << c.name;
        EXPECT_TRUE(w.Picture2->isVisible() && !w.LogImportPending) << c.name;
    }

    importLog(file("in.TXT"));
    const QByteArray saved = bytes("Enbun.txt");
    click(w.PictureE->Command29);
    EXPECT_EQ(w.DailyLog, before);
    EXPECT_FALSE(w.LogImportPending);
    EXPECT_FALSE(w.PictureE->isVisible());

    importLog(file("in.TXT"));
    click(w.Command1);
    EXPECT_EQ(bytes("Enbun.txt"), saved) << "ending the program while pending keeps the saved log";
}

TEST_F(LogExchange, AFailedConfirmKeepsTheListAndAFailedCancelStillDropsTheImport) {
    put("Enbun.txt", Enbun);
    WriteBytes(file("in.TXT"), "\"2025/01/01\",\"1\",\"\",\"\"\r\n");
    FakeFileOps ops;
    Form1& w = start(ops);
    const LogList before = w.DailyLog;
    importLog(file("in.TXT"));

    dialogs.answers = {true};
    ops.reset(1);
    click(w.PictureE->Command28);
    EXPECT_EQ(dialogs.notices().last(), "データの保存に失敗しました");
    EXPECT_TRUE(pendingShown()) << "still to be confirmed or cancelled";
    EXPECT_EQ(bytes("Enbun.txt"), Enbun);

    ops.reset(1);  // reading Enbun.txt back
    click(w.PictureE->Command29);
    EXPECT_EQ(w.DailyLog, before);
    EXPECT_EQ(w.Label3->text(), "情報処理中にエラーが発生しました");
    EXPECT_FALSE(w.LogImportPending);
}

TEST_F(LogExchange, EachDeletionLeavesTheOtherDataAndAFailedOneLeavesBoth) {
    records({{u"1", u"みそ汁", u"", u"1.5"}});
    put("Enbun.txt", Enbun);
    FakeFileOps ops;
    Form1& w = start(ops);
    const QByteArray kiroku = bytes("Kiroku.txt");
    const LogList log = w.DailyLog;

    click(w.Command30);
    dialogs.answers = {false, true};
    click(w.Picture4->Command31);
    EXPECT_TRUE(w.Picture4->Command33->hasFocus()) << "answered No";
    ops.reset(1);  // the unlink
    click(w.Picture4->Command31);
    EXPECT_EQ(w.Label3->text(), "情報処理中にエラーが発生しました");
    EXPECT_EQ(bytes("Kiroku.txt"), kiroku);
    EXPECT_EQ(grid().TextName[0]->text(), "みそ汁");
    EXPECT_TRUE(w.Picture4->isVisible());

    ops.reset(0);
    page(2);
    dialogs.answers = {true};
    click(w.Picture4->Command31);
    EXPECT_FALSE(exists("Kiroku.txt"));
    EXPECT_EQ(w.ItemPage, 0);
    EXPECT_EQ(grid().TextName[0]->text(), "");
    EXPECT_EQ(w.LabelEnbun->text(), "0");
    EXPECT_EQ(w.DailyLog, log);
    EXPECT_EQ(bytes("Enbun.txt"), Enbun);
    EXPECT_EQ(dialogs.notices().last(), "全てのデータを削除しました");
    EXPECT_FALSE(w.Picture4->isVisible());
    EXPECT_TRUE(w.Picture1->isVisible());

    grid().TextName[0]->setText("残る品");
    click(w.Command30);
    dialogs.answers = {true};
    click(w.Picture4->Command32);
    EXPECT_FALSE(exists("Enbun.txt"));
    EXPECT_EQ(w.LogCount(), 0);
    EXPECT_EQ(w.ItemTable[0].ItemName, "残る品");
    EXPECT_EQ(dialogs.questions().last(), "塩分一覧のデータを削除します、よろしいですか？");
    EXPECT_EQ(dialogs.notices().last(), "塩分一覧のデータを削除しました");
    click(w.Command1);
    EXPECT_FALSE(exists("Enbun.txt")) << "an empty log is not written";
}

}  // namespace
}  // namespace morv::test

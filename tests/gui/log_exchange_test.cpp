// The daily log leaves and comes back through the data dialog, an import is
// confirmed or cancelled on the salt list, and the deletion dialog empties
// either table; Enbun.txt and Kiroku.txt are checked byte for byte.

#include "../unit/storage_test_support.h"
#include "GridFixture.h"
#include "exchange/DataDialog.h"
#include "log/DeletionPanel.h"
#include "log/SaltListScreen.h"

namespace morv::test {
namespace {

const QByteArray Enbun = "\"2024/01/04\",\"6\",\"\",\"\"\r\n\"2024/01/05\",\"7\",\"\",\"\"\r\n";
const QByteArray OneDay = "\"2025/01/01\",\"1\",\"\",\"\"\r\n";

class LogExchange : public GridFixture {
protected:
    QString file(const QString& name) const { return home.path() + u'/' + name; }
    void importLog(const QByteArray& content) {
        WriteBytes(file("in.TXT"), content);
        form->Command8()->click();
        dialogs.fileChoices = {file("in.TXT")};
        form->Picture2()->Command24->click();
    }
    bool pendingShown() const {
        const SaltListScreen& s = *form->PictureE();
        return form->LogImportPending() && s.isVisible() && !s.Command14->isVisible() &&
               s.Command28->isVisible();
    }
};

TEST_F(LogExchange, ExportImportRegisterAReadingAndConfirm) {
    put("Enbun.txt", Enbun);
    Form1& w = start();
    w.Command8()->click();
    dialogs.fileChoices = {file("log")};
    w.Picture2()->Command23->click();
    EXPECT_EQ(dialogs.calls.at(0).request.proposedName, "Morvaline(塩分一覧)20240105.TXT");
    EXPECT_EQ(ReadBytes(file("log.TXT")), Enbun);

    // Out of order, with a date as typed and a day twice.
    const QByteArray rest = "\"2024/3/5\",\"4\",\"\",\"\"\r\n\"2024/01/05\",\"8\",\"\",\"\"\r\n";
    w.diary().RegisterDay({LogPlace::Kind::Existing, 0}, "2024/01/04",
                          "6.5");  // changed since start-up: saved before the import
    importLog("\"2024/01/05\",\"3\",\"\",\"\"\r\n" + rest);
    EXPECT_EQ(bytes("Enbun.txt"), "\"2024/01/04\",\"6.5\",\"\",\"\"\r\n\"2024/01/05\",\"7\",\"\",\"\"\r\n");
    ASSERT_TRUE(pendingShown());

    SaltListScreen& s = *w.PictureE();
    s.Command40->click();
    type(s.Text5, "80");
    type(s.Text6, "125");
    s.Command39->click();  // on the main date, the first 2024/01/05
    dialogs.answers = {false, true};
    s.Command28->click();
    EXPECT_TRUE(pendingShown()) << "answered No";
    s.Command28->click();
    EXPECT_EQ(dialogs.notices().last(), "ファイルの内容を上書きしました");
    EXPECT_EQ(bytes("Enbun.txt"), "\"2024/01/05\",\"3\",\"80\",\"125\"\r\n" + rest);
    EXPECT_FALSE(w.LogImportPending() || s.isVisible());
}

TEST_F(LogExchange, RefusedCancelledAndUnconfirmedImportsLeaveTheLog) {
    put("Enbun.txt", Enbun);
    Form1& w = start();
    w.diary().SetReading(1, "70", "120");  // a reading entered since start-up
    const LogList before = w.DailyLog();

    importLog("\"2024/01/05\",\"abc\",\"\",\"\"\r\n");
    EXPECT_EQ(dialogs.notices(), QStringList{"指定されたファイルは取り込みできません"});
    EXPECT_EQ(bytes("Enbun.txt"), Enbun) << "refused before anything is saved";

    importLog(OneDay);
    const QByteArray saved = bytes("Enbun.txt");
    w.PictureE()->Command29->click();
    EXPECT_EQ(w.DailyLog(), before);
    EXPECT_FALSE(w.LogImportPending() || w.PictureE()->isVisible());

    importLog(OneDay);
    w.Command1()->click();
    EXPECT_EQ(bytes("Enbun.txt"), saved) << "ending the program while pending keeps the saved log";
}

TEST_F(LogExchange, FieldsThatBreakOffAreToldInTheStatusLine) {
    put("Enbun.txt", Enbun);
    Form1& w = start();
    importLog("\"2025/01/01\",\"1\"\r\n");
    EXPECT_EQ(w.Label3()->text(), "ファイルの取り込みに失敗しました：項目数が4の倍数ではありません");
    EXPECT_TRUE(dialogs.notices().isEmpty());
    EXPECT_TRUE(w.Picture2()->isVisible() && !w.LogImportPending());
    EXPECT_EQ(bytes("Enbun.txt"), Enbun);
}

TEST_F(LogExchange, AFailedConfirmKeepsTheListAndAFailedCancelStillDropsTheImport) {
    put("Enbun.txt", Enbun);
    FakeFileOps ops;
    Form1& w = start(ops);
    const LogList before = w.DailyLog();
    importLog(OneDay);
    dialogs.answers = {true};
    ops.reset(1);
    w.PictureE()->Command28->click();
    EXPECT_EQ(dialogs.notices().last(), "データの保存に失敗しました");
    EXPECT_TRUE(pendingShown()) << "still to be confirmed or cancelled";

    ops.reset(1);  // reading Enbun.txt back
    w.PictureE()->Command29->click();
    EXPECT_EQ(w.DailyLog(), before);
    EXPECT_EQ(w.Label3()->text(), "情報処理中にエラーが発生しました");
}

TEST_F(LogExchange, EachDeletionLeavesTheOtherDataAndAFailedOneLeavesBoth) {
    records({{u"1", u"みそ汁", u"", u"1.5"}});
    put("Enbun.txt", Enbun);
    FakeFileOps ops;
    Form1& w = start(ops);
    const QByteArray kiroku = bytes("Kiroku.txt");
    const LogList log = w.DailyLog();

    w.Command30()->click();
    dialogs.answers = {true, true, true};
    ops.reset(1);  // the unlink
    w.Picture4()->Command31->click();
    EXPECT_EQ(w.Label3()->text(), "情報処理中にエラーが発生しました");
    EXPECT_EQ(bytes("Kiroku.txt"), kiroku);
    EXPECT_EQ(grid().TextName[0]->text(), "みそ汁");

    ops.reset(0);
    w.Picture4()->Command31->click();
    EXPECT_EQ(dialogs.notices().last(), "全てのデータを削除しました");
    EXPECT_FALSE(exists("Kiroku.txt"));
    EXPECT_EQ(grid().TextName[0]->text(), "");
    EXPECT_EQ(w.LabelEnbun()->text(), "0");
    EXPECT_EQ(w.DailyLog(), log);

    grid().TextName[0]->setText("残る品");
    w.Command30()->click();
    w.Picture4()->Command32->click();
    EXPECT_EQ(dialogs.notices().last(), "塩分一覧のデータを削除しました");
    EXPECT_FALSE(exists("Enbun.txt"));
    EXPECT_EQ(w.LogCount(), 0);
    EXPECT_EQ(w.ItemTable()[0].ItemName, "残る品");
}

}  // namespace
}  // namespace morv::test

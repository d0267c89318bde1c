// The item data leaves and comes back: export, an import shown as a preview,
// and the preview adopted or dropped, with Kiroku.txt checked byte for byte.

#include "../unit/storage_test_support.h"
#include "GridFixture.h"
#include "exchange/DataDialog.h"
#include "exchange/PreviewBar.h"
#include "grid/WeightPanel.h"
#include "log/SaltListScreen.h"
#include "platform/CalendarControl.h"
#include "selected/SelectedItemsPanel.h"

namespace morv::test {
namespace {

const QString Reminder = QStringLiteral("読み込んだファイルの内容を表示しています");

class Exchange : public GridFixture {
protected:
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    QString file(const QString& name) const { return home.path() + u'/' + name; }
    void importFile(const QString& path) {
        click(form->Command8());
        dialogs.fileChoices = {path};
        click(form->Picture2()->Command6);
    }
    void writeFile(const QString& name, const QString& text) const {
        WriteBytes(file(name), EncodeCp932(text));
    }
    // The normal state: date buttons shown, no file name, no bar.
    bool notPending() const {
        return form->Command9()->isVisible() && form->Command16()->isVisible() &&
               form->Label46()->text().isEmpty() && !form->Picture3()->isVisible() &&
               !form->ItemImportPending();
    }
};

TEST_F(Exchange, ExportImportBrowseAndAdopt) {
    records({{u"1", u"みそ汁", u"", u"1.5"}});
    Form1& w = start();
    w.diary().SetItem(17, {"1", "鮭", "", "2"});

    click(w.Command8());
    EXPECT_FALSE(w.Picture7()->isVisible());
    dialogs.fileChoices = {file("items")};
    click(w.Picture2()->Command5);
    EXPECT_EQ(dialogs.calls.at(0).request.proposedName, "Morvaline20240105.TXT");
    EXPECT_EQ(dialogs.notices(), QStringList{"ファイルを出力しました\r\n\r\n( " + file("items.TXT") + " )"});
    EXPECT_FALSE(w.Picture2()->isVisible());
    EXPECT_TRUE(w.Picture7()->isVisible());
    const QByteArray exported = ReadBytes(file("items.TXT"));
    const QByteArray header = "\"2024/01/05\",\"\",\"\",\"\"\r\n";
    EXPECT_TRUE(exported.startsWith(header + EncodeCp932(u"\"1\",\"みそ汁\",\"\",\"1.5\"\r\n")));

    // Changed after the export: the import saves this table first.
    grid().TextName[0]->setText("変えた");
    w.Text1_0()->setText("2024/01/06");
    importFile(file("items.TXT"));
    const QByteArray changed = bytes("Kiroku.txt");
    EXPECT_TRUE(changed.startsWith(EncodeCp932(u"\"1\",\"変えた\",\"\",\"1.5\"\r\n")));
    EXPECT_EQ(grid().TextName[0]->text(), "みそ汁");
    EXPECT_EQ(w.Text1_0()->text(), "2024/01/05");
    EXPECT_EQ(w.LabelEnbun()->text(), "3.5");
    EXPECT_EQ(w.Label46()->text(), "items.TXT");
    EXPECT_EQ(w.Label3()->text(), Reminder);
    EXPECT_FALSE(w.Command9()->isVisible());
    EXPECT_TRUE(w.Picture3()->isVisible());
    EXPECT_TRUE(w.Picture3()->Command11->hasFocus());

    page(1);
    EXPECT_EQ(grid().TextName[1]->text(), "鮭");
    EXPECT_EQ(w.Label3()->text(), Reminder);
    click(w.Picture3()->Command26);
    EXPECT_TRUE(w.PictureE()->isVisible());
    click(w.PictureE()->Command14);
    click(w.Picture3()->Command27);
    EXPECT_FALSE(w.Picture3()->isAncestorOf(w.childAt(w.Picture3()->geometry().center())))
        << "the list covers it";
    click(w.PictureH()->Command19);
    dialogs.calls.clear();
    dialogs.fileChoices = {""};
    click(w.Picture3()->Command34);
    EXPECT_EQ(dialogs.calls.at(0).request.proposedName, "items.TXT") << "the previewed file's name";

    dialogs.calls.clear();
    dialogs.answers = {false, true};
    click(w.Picture3()->Command12);
    EXPECT_EQ(bytes("Kiroku.txt"), changed) << "answered No";
    click(w.Picture3()->Command12);
    EXPECT_EQ(dialogs.notices(), QStringList{"ファイルの内容を上書きしました"});
    EXPECT_EQ(bytes("Kiroku.txt"), exported.mid(header.size()));
    EXPECT_TRUE(notPending());
    EXPECT_EQ(w.Label3()->text(), "");
    EXPECT_EQ(grid().TextName[1]->text(), "鮭") << "the page stays";
}

TEST_F(Exchange, DropRestoresTheTableAndShutdownKeepsTheSavedFile) {
    records({{u"1", u"前の品", u"", u"1"}});
    QString ten = "\"2023/12/24\",\"\",\"\",\"\"\r\n";
    for (int k = 0; k < 10; ++k) ten += QStringLiteral("\"1\",\"取り込み%1\",\"\",\"0.5\"\r\n").arg(k);
    writeFile("ten.TXT", ten);
    Form1& w = start();
    w.diary().SetItemName(12, "残る品");
    grid().TextName[0]->setText("今の品");
    type(grid().TextNa[3], "40");

    importFile(file("ten.TXT"));
    const QByteArray saved = bytes("Kiroku.txt");
    EXPECT_TRUE(saved.startsWith(EncodeCp932(u"\"1\",\"今の品\",\"\",\"1\"\r\n")));
    EXPECT_EQ(grid().TextName[9]->text(), "取り込み9");
    EXPECT_EQ(grid().TextName[12]->text(), "残る品");
    EXPECT_FALSE(w.SodiumAreaSelected()) << "cleared as by a page switch";

    // Escape in the grid leaves the preview; on the bar it is "キャンセル".
    QTest::keyClick(grid().TextName[9], Qt::Key_Escape);
    EXPECT_TRUE(w.ItemImportPending());
    w.Picture3()->Command34->setFocus();
    QTest::keyClick(w.Picture3()->Command34, Qt::Key_Escape);
    EXPECT_EQ(bytes("Kiroku.txt"), saved);
    EXPECT_EQ(grid().TextName[0]->text(), "今の品");
    EXPECT_EQ(w.Text1_0()->text(), "2024/01/05");
    EXPECT_TRUE(notPending());

    importFile(file("ten.TXT"));
    click(w.Command1());
    EXPECT_EQ(bytes("Kiroku.txt"), saved) << "ending the program while pending keeps the saved table";
}

TEST_F(Exchange, AFileImportedOverAPreviewKeepsTheTableToGoBackTo) {
    records({{u"1", u"前の品", u"", u"1"}});
    writeFile("a.TXT", "\"2023/03/03\",\"\",\"\",\"\"\r\n\"1\",\"Ａの品\",\"\",\"2\"\r\n");
    writeFile("b.TXT", "\"2023/04/04\",\"\",\"\",\"\"\r\n\"1\",\"Ｂの品\",\"\",\"3\"\r\n");
    Form1& w = start();
    click(w.Command16());
    importFile(file("a.TXT"));
    EXPECT_FALSE(w.Calendar1()->isVisible()) << "no date is picked over the file's";
    const QByteArray saved = bytes("Kiroku.txt");

    // The covered "入出力", should it be pressed all the same.
    w.Command8()->setFocus();
    QTest::keyClick(w.Command8(), Qt::Key_Space);
    dialogs.fileChoices = {file("b.TXT")};
    click(w.Picture2()->Command6);
    EXPECT_EQ(bytes("Kiroku.txt"), saved);
    EXPECT_EQ(grid().TextName[0]->text(), "Ｂの品");
    EXPECT_EQ(w.Label46()->text(), "b.TXT");

    click(w.Picture3()->Command11);
    EXPECT_EQ(grid().TextName[0]->text(), "前の品");
    EXPECT_TRUE(notPending());
}

TEST_F(Exchange, RefusedAndFailedImportsChangeNothing) {
    // As the program writes it, so that the save before a failed load is the same bytes.
    const QByteArray kiroku = EncodeCp932(u"\"1\",\"前の品\",\"\",\"1\"\r\n") +
                              QByteArray("\"0\",\"\",\"\",\"\"\r\n").repeated(159);
    put("Kiroku.txt", kiroku);
    writeFile("two.TXT", "\"2024/01/05\",\"\",\"\",\"\"\r\n\"2\",\"a\",\"\",\"1\"\r\n");
    writeFile("many.TXT",
              "\"2023/12/24\",\"\",\"\",\"\"\r\n" + QString("\"1\",\"x\",\"\",\"1\"\r\n").repeated(162));
    WriteBytes(file("latin1.TXT"), "\"2024/01/05\",\"caf\xe9\",\"\",\"\"\r\n");
    Form1& w = start();

    const QString refused = "指定されたファイルは取り込みできません";
    const struct {
        QString path;
        QStringList notices;
    } cases[] = {{"", {}},
                 {file("absent.TXT"), {}},
                 {file("two.TXT"), {refused}},
                 {file("latin1.TXT"), {refused}},
                 {file("many.TXT"), {"ファイルの取り込みに失敗しました"}}};
    for (const auto& c : cases) {
        dialogs.calls.clear();
        importFile(c.path);
        EXPECT_EQ(dialogs.notices(), c.notices) << qPrintable(c.path);
        EXPECT_EQ(bytes("Kiroku.txt"), kiroku) << qPrintable(c.path);
        EXPECT_EQ(grid().TextName[0]->text(), "前の品") << qPrintable(c.path);
        EXPECT_TRUE(notPending());
        EXPECT_TRUE(w.Picture2()->isVisible());
    }
    EXPECT_EQ(w.Text1_0()->text(), "2023/12/24") << "the date read before the load failed";
}

TEST_F(Exchange, AFailedExportKeepsThePreviousFile) {
    FakeFileOps ops;
    ops.mode = FakeFileOps::WriteFault::ShortThenError;
    Form1& w = start(ops);
    WriteBytes(file("out.TXT"), "previous");
    click(w.Command8());
    dialogs.fileChoices = {file("out")};
    dialogs.answers = {true};
    ops.reset(2);  // the write of the new content
    click(w.Picture2()->Command5);
    EXPECT_EQ(dialogs.questions(),
              QStringList{file("out.TXT") + "\r\n\r\nすでに同名のファイルが存在します\r\n上書きしますか？"});
    EXPECT_EQ(ReadBytes(file("out.TXT")), "previous");
    EXPECT_EQ(Entries(home.path()).filter("out"), QStringList{"out.TXT"});
    EXPECT_EQ(w.Label3()->text(), "ファイルの作成に失敗しました");
    EXPECT_TRUE(w.Picture2()->isVisible());
}

}  // namespace
}  // namespace morv::test

#include "exchange/core/ExchangeFiles.h"
#include "exchange/core/ItemExchange.h"
#include "storage/DataFiles.h"
#include "storage/SafeWrite.h"
#include "storage_test_support.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QTemporaryDir>

namespace morv {
namespace {

using test::Entries;
using test::ReadBytes;
using test::WriteBytes;

const QByteArray EmptyItemLine = "\"0\",\"\",\"\",\"\"\r\n";

TEST(ItemExchange, ExportWritesTheHeaderAndEveryStoredSlot) {
    ItemList items = NewItemTable();
    items[0] = {"1", "焼き鮭", "", "1.5"};
    items[2] = {"0", "say \"hi\"", "\"", "2"};
    items[160] = {"1", "never written", "", ""};
    const QByteArray bytes = ItemExchangeBytes("2015/11/26", items);
    const QByteArray expected =
        "\"2015/11/26\",\"\",\"\",\"\"\r\n"
        "\"1\",\"" +
        EncodeCp932(u"焼き鮭") + "\",\"\",\"1.5\"\r\n" + EmptyItemLine +
        "\"0\",\"say 'hi'\",\"'\",\"2\"\r\n" + EmptyItemLine.repeated(157);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(items[2].ItemName, "say \"hi\"") << "the table itself is not changed";
}

TEST(ItemExchange, TheCheckPassRefusesWhatCannotBeImported) {
    const QString header = "\"2024/01/05\",\"\",\"\",\"\"\r\n";
    const struct {
        const char* what;
        QString text;
        ItemCheck expected;
    } cases[] = {
        {"empty file", "", ItemCheck::Refused},
        {"blank lines only", "\r\n\r\n", ItemCheck::Refused},
        {"header only", header, ItemCheck::Accepted},
        {"bad date", "\"2023/02/29\",\"\",\"\",\"\"\r\n", ItemCheck::Refused},
        {"header field not empty", "\"2024/01/05\",\"\",\"x\",\"\"\r\n", ItemCheck::Refused},
        {"items of every allowed kind",
         header + "\"\",\"名\",\"\",\"\"\r\n\"1\",\"a,b\",\"470\",\"1.19\"\r\n\"0\",\"\",\"0\",\"12\"\r\n",
         ItemCheck::Accepted},
        {"a tick of 2", header + "\"2\",\"a\",\"\",\"1\"\r\n", ItemCheck::Refused},
        {"a salt of abc", header + "\"1\",\"a\",\"\",\"abc\"\r\n", ItemCheck::Refused},
        {"a sodium of abc", header + "\"1\",\"a\",\"abc\",\"\"\r\n", ItemCheck::Refused},
        {"fields not in fours", header + "\"1\",\"a\",\"\"\r\n", ItemCheck::Broken},
        {"a refused record before the break", header + "\"2\",\"a\",\"\",\"\"\r\n\"1\"\r\n",
         ItemCheck::Refused},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckItemExchange(c.text), c.expected) << c.what;
}

// A line break inside a name used to reach Kiroku.txt, and every later start
// then read it back changed. Each CR and LF becomes a blank wherever a name
// comes from: an import, a grid row, the calculator.
TEST(ItemExchange, ALineBreakInANameIsStoredAsABlankAndReadBackExactly) {
    const QString imported =
        QString("\"2024/01/05\",\"\",\"\",\"\"\r\n\"1\",\"みそ\r\n汁\",\"\",\"1.5\"\r\n");
    ASSERT_EQ(CheckItemExchange(imported), ItemCheck::Accepted);
    ItemList items = NewItemTable();
    QString date;
    ASSERT_TRUE(LoadItemExchange(imported, items, date));
    EXPECT_EQ(items[0].ItemName, QString("みそ  汁"));
    items[1] = {"1", "typed\nin a row", "", "1"};
    SeasoningList rows{};
    rows[0] = {"塩\r", "6.0"};

    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    {
        DataFiles files(folder, {}, [] { return QDateTime(); });
        ASSERT_EQ(files.KirokuFileWrite(items), 0);
        ASSERT_EQ(files.ChomiFileWrite(rows), 0);
    }
    EXPECT_EQ(items[1].ItemName, "typed in a row") << "stored back, as the grid shows it";
    EXPECT_EQ(rows[0].SeasoningName, QString("塩 "));
    EXPECT_EQ(ItemExchangeBytes(date, items).count("\r\n"), 161) << "the export holds one line per record";

    DataFiles restarted(folder, {}, [] { return QDateTime(); });
    ItemList back = NewItemTable();
    SeasoningList backRows{};
    ASSERT_EQ(restarted.KirokuFileRead(back), 0);
    ASSERT_EQ(restarted.ChomiFileRead(backRows), 0);
    EXPECT_TRUE(restarted.takeKeptCopies().empty()) << "both files read back exactly";
    EXPECT_EQ(back, items);
    EXPECT_EQ(backRows[0], (SeasoningRecord{QString("塩"), "6.0"}));
}

QString ItemFile(int records) {
    QString text = "\"2024/1/5\",\"\",\"\",\"\"\r\n";
    for (int k = 0; k < records; ++k) text += QStringLiteral("\"1\",\"item %1\",\"\",\"1\"\r\n").arg(k);
    return text;
}

TEST(ItemExchange, LoadingFillsOnlyTheSlotsTheFileHolds) {
    ItemList items = NewItemTable();
    for (size_t slot = 0; slot < items.size(); ++slot) items[slot].ItemName = "old";
    QString date;
    ASSERT_TRUE(LoadItemExchange(ItemFile(10), items, date));
    EXPECT_EQ(date, "2024/1/5") << "as read";
    EXPECT_EQ(items[9], (ItemRecord{"1", "item 9", "", "1"}));
    EXPECT_EQ(items[10].ItemName, "old");

    ASSERT_TRUE(LoadItemExchange(ItemFile(161), items, date));
    EXPECT_EQ(items[160].ItemName, "item 160");
    EXPECT_EQ(CheckItemExchange(ItemFile(162)), ItemCheck::Accepted) << "the check does not count";
    EXPECT_FALSE(LoadItemExchange(ItemFile(162), items, date));
}

TEST(ItemExchange, AnExportedTableComesBackWhole) {
    ItemList items = NewItemTable();
    for (int slot = 0; slot < StoredItemCount; ++slot) {
        items[size_t(slot)] = {slot % 3 ? "1" : "0", QStringLiteral("品%1, \"特\" ”大”").arg(slot),
                               slot % 2 ? QString::number(slot * 10) : "", QStringLiteral("%1.5").arg(slot)};
    }
    const QString text = DecodeCp932(ItemExchangeBytes("2024/01/05", items));
    ASSERT_EQ(CheckItemExchange(text), ItemCheck::Accepted);
    ItemList back = NewItemTable();
    QString date;
    ASSERT_TRUE(LoadItemExchange(text, back, date));
    EXPECT_EQ(date, "2024/01/05");
    for (int slot = 0; slot < StoredItemCount; ++slot) {
        ItemRecord expected = items[size_t(slot)];
        expected.ItemName = QStringLiteral("品%1, '特' ’大’").arg(slot);
        EXPECT_EQ(back[size_t(slot)], expected) << slot;
    }
}

TEST(ExchangeFiles, TheProposedNameHoldsTheDigitsOfTheDate) {
    EXPECT_EQ(ProposedExportName("Morvaline", "2015/11/26"), "Morvaline20151126.TXT");
    EXPECT_EQ(ProposedExportName("Morvaline", "2024/1/5"), "Morvaline20241.TXT") << "no folder separator";
}

TEST(ExchangeFiles, OversizedAndNonCp932FilesAreRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath("in.TXT");
    QString text;
    EXPECT_EQ(ReadExchangeFile(path, text), ExchangeRead::Missing);
    WriteBytes(path, "\"a\"\r\n" + EncodeCp932(u"塩"));
    EXPECT_EQ(ReadExchangeFile(path, text), ExchangeRead::Read);
    EXPECT_EQ(text, QStringLiteral("\"a\"\r\n塩"));
    WriteBytes(path, "\"a\x82\"\r\n");  // a lead byte without its trail
    EXPECT_EQ(ReadExchangeFile(path, text), ExchangeRead::Refused);
    WriteBytes(path, "0123456789");
    EXPECT_EQ(ReadExchangeFile(path, text, 9), ExchangeRead::Refused);
    EXPECT_EQ(ReadExchangeFile(path, text, 10), ExchangeRead::Read);
    // Saved as UTF-8 these bytes also decode as CP932, to "辟ｼ縺埼ｮｭ".
    WriteBytes(path, QStringLiteral("\"1\",\"焼き鮭\"\r\n").toUtf8());
    EXPECT_EQ(ReadExchangeFile(path, text), ExchangeRead::Refused);
    QFile::remove(path);
    ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    EXPECT_EQ(ReadExchangeFile(path, text), ExchangeRead::Refused) << "a pipe would block the read";
    QFile::remove(path);
    WriteBytes(path, "");
    QFile big(path);
    ASSERT_TRUE(big.resize(MaxExchangeFileBytes + 1));
    EXPECT_EQ(ReadExchangeFile(path, text), ExchangeRead::Refused);
}

TEST(ExchangeFiles, AFailedReplaceLeavesThePreviousFileAndNoTemporary) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.TXT");
    test::FakeFileOps ops;
    // Every step may fail; only the folder's sync after the rename, which
    // cannot undo a rename, may go unnoticed.
    ops.reset(0);
    ASSERT_TRUE(ReplaceFileDurably(ops, path, "new"));
    const int steps = ops.calls;
    const int renameStep = int(ops.trace.indexOf("rename")) + 1;
    for (int failAt = 1; failAt <= steps; ++failAt) {
        WriteBytes(path, "previous");
        ops.reset(failAt);
        const bool written = ReplaceFileDurably(ops, path, "new");
        EXPECT_EQ(Entries(dir.path()), QStringList{"out.TXT"}) << failAt;
        EXPECT_TRUE(ops.openFds.empty()) << failAt;
        EXPECT_EQ(ReadBytes(path), written ? "new" : "previous") << failAt;
        EXPECT_EQ(written, failAt > renameStep) << failAt;
    }
}

TEST(ExchangeFiles, AReplacedFileKeepsItsModeAndALinkKeepsPointingAtIt) {
    QTemporaryDir dir;
    const QString real = dir.filePath("real.TXT");
    const QString link = dir.filePath("link.TXT");
    WriteBytes(real, "previous");
    ASSERT_TRUE(QFile::setPermissions(
        real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(QFile::link(real, link));
    ASSERT_TRUE(ReplaceFileDurably(SystemFileOps(), link, "new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadBytes(real), "new");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

}  // namespace
}  // namespace morv

#include "storage/Journal.h"
#include "storage/MachineId.h"
#include "storage/Stamp.h"

#include "storage_test_support.h"

#include <gtest/gtest.h>
#include <QDateTime>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <algorithm>
#include <optional>

namespace morv {
namespace {

using test::FakeFileOps;
using test::ReadBytes;
using test::WriteBytes;

const QByteArray Node = "3f2a9c1b7e4d5a60";

}  // namespace

void PrintTo(const Stamp& stamp, std::ostream* os) { *os << stamp.text().toStdString(); }
void PrintTo(const JournalEntry& entry, std::ostream* os) { *os << EncodeEntry(entry).toStdString(); }

namespace {

qint64 Utc(const char* iso) {
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs).toMSecsSinceEpoch();
}

JournalEntry Day(qint64 millis, const QString& date, const QString& salt, const QByteArray& node = Node) {
    return {{millis, 0, node}, "day", date, {salt, QStringLiteral("80")}};
}

TEST(Stamp, TextRoundTripSortsAsStampsAndRefusesMalformed) {
    const std::pair<Stamp, QByteArray> cases[] = {
        {{Utc("2026-12-08T13:01:28.123Z"), 0, Node}, "2026-12-08T13:01:28.123Z-0000-" + Node},
        {{Utc("2024-02-29T00:00:00.000Z"), 0xabc, "0"}, "2024-02-29T00:00:00.000Z-0abc-0"},
        {{Utc("2024-02-29T00:00:00.000Z"), 0xabc, "00"}, "2024-02-29T00:00:00.000Z-0abc-00"},
        {{0, 1, "f"}, "1970-01-01T00:00:00.000Z-0001-f"},
        {{LastStampMillis, 0xFFFF, QByteArray(32, 'f')},
         "9999-12-31T23:59:59.999Z-ffff-" + QByteArray(32, 'f')},
    };
    std::vector<Stamp> stamps{Stamp{}};
    std::vector<QByteArray> texts;
    for (const auto& [stamp, text] : cases) {
        EXPECT_EQ(stamp.text(), text);
        EXPECT_EQ(Stamp::parse(text), stamp) << text.constData();
        EXPECT_LT(Stamp{}, stamp);
        stamps.push_back(stamp);
        texts.push_back(text);
    }
    std::sort(stamps.begin(), stamps.end());
    std::sort(texts.begin(), texts.end());
    for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(stamps[i + 1].text(), texts[i]);

    for (const char* bad : {"2026-02-29T00:00:00.000Z-0000-ab", "2026-12-08T24:00:00.000Z-0000-ab",
                            "1969-12-31T23:59:59.999Z-0000-ab", "2026-12-08T13:01:28.123Z-00A0-ab",
                            "2026-12-08T13:01:28.123Z-0000-AB", "2026-12-08T13:01:28.123Z-0000-",
                            "2026-12-08T13:01:28.123Z-0000-0123456789abcdef0123456789abcdef0",
                            "2026-12-08T13:01:28.123+0000-ab"})
        EXPECT_FALSE(Stamp::parse(bad)) << bad;
}

TEST(Hlc, TickAndSeeFollowTheRules) {
    struct Step {
        qint64 now;
        std::optional<Stamp> remote;  // else a tick
        qint64 millis;
        quint32 counter;
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"wall clock going back",
         {{1000, {}, 1000, 0}, {500, {}, 1000, 1}, {400, {}, 1000, 2}, {2000, {}, 2000, 0}}},
        {"remote an hour ahead",
         {{1000, {}, 1000, 0},
          {1000, Stamp{3601000, 5, "bb"}, 3601000, 6},
          {1001, {}, 3601000, 7},
          {3602000, {}, 3602000, 0}}},
        {"remote behind or level",
         {{5000, {}, 5000, 0}, {5000, Stamp{5000, 9, "bb"}, 5000, 10}, {5000, Stamp{10, 0, "bb"}, 5000, 11}}},
        {"counter overflow",
         {{1000, Stamp{1000, 0xFFFE, "bb"}, 1000, 0xFFFF},
          {1000, {}, 1001, 0},
          {900, Stamp{1001, 0xFFFF, "bb"}, 1002, 0}}},
        {"stamps at the end of time",
         {{1000, Stamp{LastStampMillis, 0xFFFF, "bb"}, LastStampMillis, 0xFFFF},
          {1000, {}, LastStampMillis, 0xFFFF}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qint64 now = 0;
        Hlc clock(Node, [&now] { return now; });
        for (const Step& step : c.steps) {
            now = step.now;
            if (step.remote) {
                clock.see(*step.remote);
            } else {
                EXPECT_EQ(clock.tick(), clock.last());
            }
            EXPECT_EQ(clock.last().millis, step.millis);
            EXPECT_EQ(clock.last().counter, step.counter);
            EXPECT_EQ(clock.last().node, Node);
            EXPECT_TRUE(Stamp::parse(clock.last().text()));
        }
    }
}

TEST(JournalEntry, EscapedFieldsSurviveAndMalformedLinesAreRefused) {
    const qint64 t = Utc("2026-12-08T13:01:28.123Z");
    const JournalEntry entries[] = {
        {{t, 3, Node}, "day", "2026/12/08", {"6.5", "80"}},
        {{t, 0, Node}, "item", "tab\there", {"line\nbreak\r\n", "back\\slash\\", "\\t literal", "味噌汁"}},
        {{t, 0, Node}, "day-", "2026/12/08", {}},
        {{t, 0, Node}, "log-", "", {""}},
        {{t, 0, Node}, "seasoning", "\t\n\\", {"\xEF\xBB\xBF", ""}},
    };
    for (const JournalEntry& entry : entries) {
        const QByteArray line = EncodeEntry(entry);
        EXPECT_FALSE(line.contains('\n') || line.contains('\r'));
        EXPECT_EQ(line.count('\t'), 2 + entry.fields.size());
        EXPECT_EQ(DecodeEntry(line), entry) << line.constData();
    }
    EXPECT_TRUE(EncodeEntry({{t, 0, Node}, "da y", "k", {}}).isEmpty());
    EXPECT_TRUE(EncodeEntry({{t, 0, "XY"}, "day", "k", {}}).isEmpty());

    const QByteArray stamp = Stamp{t, 0, Node}.text();
    for (const QByteArray& bad :
         {stamp, stamp + "\tday", stamp + "\t\tk", stamp + "\tda y\tk", QByteArray("x\tday\tk"),
          stamp + "\tday\tk\\x", stamp + "\tday\tk\\", stamp + "\tday\tk\r", stamp + "\tday\tk\n",
          stamp + "\tday\tk\t\xff", stamp + "\tday\tk\t\xe3\x81", stamp + "\t" + QByteArray(33, 'a') + "\tk"})
        EXPECT_FALSE(DecodeEntry(bad)) << bad.constData();
}

class JournalFolderTest : public ::testing::Test {
protected:
    QTemporaryDir dir{test::ScratchTemplate()};
    QString folder = JournalFolder(dir.path());
    QString path = JournalPath(folder, Node);
    JournalWriter writer{SystemFileOps(), folder, Node, QStringLiteral("desk\ttop")};
    JournalReader reader;

    void appendRaw(const QByteArray& bytes) { WriteBytes(path, ReadBytes(path) + bytes); }
};

TEST_F(JournalFolderTest, ReaderTakesAppendedCompleteLinesOnceAndRestartsOnReplacedFiles) {
    const auto next = [&](const char* step, const std::vector<JournalEntry>& entries, int skipped,
                          bool restarted) {
        SCOPED_TRACE(step);
        const JournalRead read = reader.read(path);
        EXPECT_EQ(read.status, JournalRead::Status::Read);
        EXPECT_EQ(read.node, Node);
        EXPECT_EQ(read.entries, entries);
        EXPECT_EQ(read.skipped, skipped);
        EXPECT_EQ(read.restarted, restarted);
    };
    const auto header = [&] { return ReadBytes(path).left(ReadBytes(path).indexOf('\n') + 1); };
    ASSERT_TRUE(writer.append({Day(1, "2026/01/01", "5"), Day(2, "2026/01/02", "6")}));
    EXPECT_EQ(QFileInfo(folder).permissions() & 0077, 0);
    next("first", {Day(1, "2026/01/01", "5"), Day(2, "2026/01/02", "6")}, 0, false);
    next("nothing new", {}, 0, false);
    ASSERT_TRUE(writer.append({Day(4, "2026/01/04", "8")}));
    next("appended", {Day(4, "2026/01/04", "8")}, 0, false);
    const QByteArray third = EncodeEntry(Day(3, "2026/01/03", "7"));
    appendRaw(third.chopped(1));
    next("a torn line", {}, 0, false);
    appendRaw(third.right(1) + "\n");
    next("the line completed", {Day(3, "2026/01/03", "7")}, 0, false);
    appendRaw("junk\n" + EncodeEntry(Day(5, "x", "1", "bb")) + "\n");
    next("malformed and another node's", {}, 2, false);
    WriteBytes(path + ".new", header() + third + "\n");
    ASSERT_EQ(::rename(QFile::encodeName(path + ".new"), QFile::encodeName(path)), 0);
    next("replaced by rename", {Day(3, "2026/01/03", "7")}, 0, true);
    WriteBytes(path, ReadBytes(path).replace("2026/01/03", "2026/01/09"));
    next("written over in place, as long as before", {Day(3, "2026/01/09", "7")}, 0, true);
    WriteBytes(path, header());
    next("cut shorter in place", {}, 0, true);

    // A sync program's copies are listed and read as the same node's journal.
    const QStringList copies = {folder + "/" + Node + ".sync-conflict-20261208-130128-ABCDEFG.journal",
                                folder + "/" + Node + " (Laptop's conflicted copy 2026-12-08).journal"};
    for (const QString& copy : copies) QFile::copy(path, copy);
    for (const char* other : {"/.syncthing.x.journal.tmp", "/x.journal.1.tmp", "/notes.txt"})
        WriteBytes(folder + other, "");
    QStringList expected = copies + QStringList{path};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(JournalFiles(folder), expected);
    const JournalRead copy = reader.read(copies[0]);
    EXPECT_EQ(copy.node, Node);
    EXPECT_EQ(copy.hostName, "desk\ttop");
    EXPECT_EQ(copy.endOffset, QFileInfo(path).size());
}

TEST_F(JournalFolderTest, ReaderRefusesWhatIsNoJournalOfTheNodeItIsNamedFor) {
    ASSERT_TRUE(writer.append({Day(1, "2026/01/01", "5")}));
    const QByteArray journal = ReadBytes(path);
    const QString other = folder + "/0123456789abcdef.journal";
    const struct {
        const char* name;
        std::function<void()> make;
    } cases[] = {
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(other), 0600), 0); }},
        {"a link to a FIFO",
         [&] {
             ASSERT_EQ(::mkfifo(QFile::encodeName(other + ".fifo"), 0600), 0);
             QFile::link(other + ".fifo", other);
         }},
        {"another node's header", [&] { WriteBytes(other, journal); }},
        {"no journal", [&] { WriteBytes(other, "Kiroku\n"); }},
        {"a later version", [&] { WriteBytes(other, "morvaline-journal\t2\t0123456789abcdef\thost\n"); }},
        {"over the ceiling",
         [&] {
             WriteBytes(other, QByteArray(journal).replace(Node, "0123456789abcdef") + QByteArray(200, 'x'));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(other);
        QFile::remove(other + ".fifo");
        c.make();
        reader.setCeiling(journal.size() + 100);
        const JournalRead read = reader.read(other);
        EXPECT_EQ(read.status, JournalRead::Status::Refused);
        EXPECT_FALSE(read.reason.isEmpty());
        EXPECT_TRUE(read.entries.empty());
    }
    EXPECT_EQ(reader.read(folder + "/absent.journal").status, JournalRead::Status::Missing);
}

TEST_F(JournalFolderTest, AWriteThatFailsLeavesNoLineToGlueOnto) {
    const std::vector<JournalEntry> failing{Day(2, "2026/01/02", "6")}, after{Day(3, "2026/01/03", "7")};
    for (const bool fresh : {true, false}) {
        const std::vector<JournalEntry> before = fresh ? std::vector<JournalEntry>{} : after;
        for (const auto mode : {FakeFileOps::WriteFault::Error, FakeFileOps::WriteFault::ShortThenError,
                                FakeFileOps::WriteFault::NoProgress}) {
            for (int failAt = 1; failAt <= 12; ++failAt) {
                SCOPED_TRACE(failAt);
                QDir(folder).removeRecursively();
                FakeFileOps ops;
                ops.mode = mode;
                JournalWriter faulty(ops, folder, Node, "desk");
                ASSERT_TRUE(faulty.append(before));
                ops.reset(failAt);
                const bool written = faulty.append(failing);
                EXPECT_EQ(written, faulty.error().isEmpty());
                ops.reset(0);
                ASSERT_TRUE(faulty.append(after));
                EXPECT_TRUE(ops.openFds.empty());

                // A failed append leaves nothing or (after a failed close) whole lines.
                JournalRead read = JournalReader().read(path);
                EXPECT_EQ(read.skipped, 0);
                if (!written) std::erase(read.entries, failing[0]);
                std::vector<JournalEntry> expected = before;
                if (written) expected.push_back(failing[0]);
                expected.push_back(after[0]);
                EXPECT_EQ(read.entries, expected);
            }
        }
    }

    // A crash that left most of a line: sealed off, never read as the line.
    const QByteArray line = EncodeEntry(Day(4, "2026/01/04", "10"));
    appendRaw(line.chopped(1));
    ASSERT_TRUE(writer.append(after));
    JournalReader fresh;
    const JournalRead read = fresh.read(path);
    EXPECT_EQ(read.entries.back(), after.back());
    EXPECT_EQ(read.skipped, 1);

    EXPECT_FALSE(writer.append({Day(5, "2026/01/05", "1", "bb")}));
    EXPECT_FALSE(writer.error().isEmpty());
}

TEST_F(JournalFolderTest, RewriteReplacesTheJournalWholeOrNotAtAll) {
    ASSERT_TRUE(writer.append({Day(1, "2026/01/01", "5"), Day(2, "2026/01/01", "6")}));
    reader.read(path);
    const QByteArray previous = ReadBytes(path);
    for (int failAt = 1; failAt <= 8; ++failAt) {
        FakeFileOps ops;
        ops.reset(failAt);
        JournalWriter faulty(ops, folder, Node, "desk");
        if (!faulty.rewrite({Day(2, "2026/01/01", "6")})) {
            EXPECT_EQ(ReadBytes(path), previous) << failAt;
        }
        EXPECT_EQ(test::Entries(folder), QStringList{Node + ".journal"});
        WriteBytes(path, previous);
    }
    ASSERT_TRUE(writer.rewrite({Day(2, "2026/01/01", "6")}));
    EXPECT_EQ(test::Entries(folder), QStringList{Node + ".journal"});
    const JournalRead read = reader.read(path);
    EXPECT_TRUE(read.restarted);
    EXPECT_EQ(read.entries, std::vector{Day(2, "2026/01/01", "6")});
}

TEST(Journal, CompactKeepsTheNewestLinePerFieldAndTheDeletions) {
    const auto keyOf = [](const JournalEntry& e) -> CompactKey {
        if (e.op == "day" || e.op == "day-") return {"day " + e.key, "log"};
        if (e.op == "log-") return {"log-", "log", true};
        if (e.op == "seen") return {{}, {}};
        return {QString::fromLatin1(e.op) + ' ' + e.key, {}};
    };
    // Lines "op key|op key|...", stamped 1, 2, ... in order; the stamps kept.
    const struct {
        const char* name;
        const char* lines;
        std::vector<qint64> kept;
    } cases[] = {
        {"newest per field", "day a|day b|day a|item a", {2, 3, 4}},
        {"a day deleted, one registered again", "day a|day- a|day- b|day b", {2, 4}},
        {"the log deleted", "day a|day- b|item a|log-|day c|log-|day a", {3, 6, 7}},
        {"lines of no field stay", "seen x|seen x", {1, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<JournalEntry> entries;
        for (const QString& line : QString::fromLatin1(c.lines).split('|')) {
            const QStringList parts = line.split(' ');
            entries.push_back(
                {{qint64(entries.size() + 1), 0, Node}, parts[0].toLatin1(), parts.value(1), {}});
        }
        std::vector<qint64> kept;
        for (const JournalEntry& e : Compact(entries, keyOf)) kept.push_back(e.stamp.millis);
        EXPECT_EQ(kept, c.kept);
    }
    const std::vector<JournalEntry> tie{Day(1, "a", "first"), Day(1, "a", "last")};
    EXPECT_EQ(Compact(tie, keyOf), std::vector{tie[1]});
}

TEST(MachineId, StableForOneSystemNewForAnotherAndOverriddenByTheEnvironment) {
    QTemporaryDir dir;
    const QString state = dir.path() + "/state/morvaline";
    const auto isNode = [](const QByteArray& node) { return node.size() == 16 && IsStampNode(node); };
    const Machine first = ThisMachine(state, "system-a");
    EXPECT_TRUE(isNode(first.node));
    EXPECT_EQ(QFileInfo(state).permissions() & 0077, 0);
    EXPECT_EQ(ThisMachine(state, "system-a").node, first.node);
    const QByteArray moved = ThisMachine(state, "system-b").node;
    EXPECT_NE(moved, first.node);
    EXPECT_EQ(ThisMachine(state, "system-b").node, moved);
    EXPECT_FALSE(ReadBytes(state + "/machine").contains("system-b"));

    // Where nothing can be stored, a node of the system's own, the same each time.
    WriteBytes(dir.path() + "/file", "");
    const QByteArray unstored = ThisMachine(dir.path() + "/file/morvaline", "system-a").node;
    EXPECT_TRUE(isNode(unstored));
    EXPECT_EQ(ThisMachine(dir.path() + "/file/morvaline", "system-a").node, unstored);

    qputenv("MORVALINE_MACHINE_NODE", "0123456789abcdef");
    qputenv("MORVALINE_MACHINE_NAME", "second");
    EXPECT_EQ(ThisMachine(state, "system-b").node, "0123456789abcdef");
    EXPECT_EQ(ThisMachine(state, "system-b").name, "second");
    qputenv("MORVALINE_MACHINE_NODE", "0123456789ABCDEF");
    EXPECT_EQ(ThisMachine(state, "system-b").node, moved);
    qunsetenv("MORVALINE_MACHINE_NODE");
    qunsetenv("MORVALINE_MACHINE_NAME");
}

}  // namespace
}  // namespace morv

// A log that was not read exactly and whose copy cannot be made (a nearly
// full disk): the user is told once and the red line stands through the day's
// registration until a save with room has written the file. The storage side
// is tested in storage_odd_files_test.

#include "MainWindowFixture.h"
#include "storage/FileOps.h"

#include <QLabel>
#include <QPushButton>
#include <cerrno>

namespace morv::test {
namespace {

using HeldBackLog = MainWindowFixture;

class NoRoomForCopies final : public PosixFileOps {
public:
    bool full = true;
    int open(const QByteArray& p, int flags, mode_t mode) override {
        return refused(p) ? -1 : PosixFileOps::open(p, flags, mode);
    }
    int linkOpenFile(int fd, const QByteArray& to) override {
        return refused(to) ? -1 : PosixFileOps::linkOpenFile(fd, to);
    }

private:
    bool refused(const QByteArray& name) {
        if (!full || !name.contains(".unreadable-")) return false;
        errno = ENOSPC;
        return true;
    }
};

TEST_F(HeldBackLog, TheUserIsToldOnceAndTheLineStandsUntilTheFileIsSaved) {
    const QByteArray broken = "\"2024/01/01\",\"6\",\"\",\"\"\r\n\"2024/01/02\",\"7";
    put("Enbun.txt", broken);
    NoRoomForCopies ops;
    Form1& w = start(ops);
    QTest::qWait(0);
    const QString line = "「Enbun.txt」の元の内容を残せないため保存していません";
    ASSERT_EQ(dialogs.notices().size(), 1);
    EXPECT_TRUE(dialogs.notices()[0].contains("保存しません"));
    EXPECT_EQ(w.Label3()->text(), line);

    QTest::mouseClick(w.Command2(), Qt::LeftButton);  // registers 2024/01/05
    EXPECT_EQ(w.Label3()->text(), line) << "a registration keeps it";
    w.AutosaveNow();
    EXPECT_EQ(bytes("Enbun.txt"), broken);
    EXPECT_EQ(w.Label3()->text(), line) << "so does a failing save";

    ops.full = false;
    w.AutosaveNow();
    EXPECT_TRUE(bytes("Enbun.txt").contains("\"2024/01/05\""));
    EXPECT_EQ(w.Label3()->text(), "");
    EXPECT_EQ(dialogs.notices().size(), 2) << "told once, besides the registration";
}

}  // namespace
}  // namespace morv::test

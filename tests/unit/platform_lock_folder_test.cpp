// Without a private XDG_RUNTIME_DIR the lock goes where no other user can put
// anything first; what another user did make there is refused by name, never
// used, and the session's folder is never changed.

#include "platform/core/LockFolder.h"

#include "storage_test_support.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>
#include <functional>

namespace morv {
namespace {

TEST(LockFolder, AFolderAnotherUserMadeFirstIsNeverUsedAndIsNamed) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), home = qgetenv("HOME"),
                     cache = qgetenv("XDG_CACHE_HOME"), tmp = qgetenv("TMPDIR");
    struct Back {
        std::function<void()> undo;
        ~Back() { undo(); }
    } back{[&] {
        const auto put = [](const char* name, const QByteArray& v) {
            v.isNull() ? qunsetenv(name) : qputenv(name, v);
        };
        put("XDG_RUNTIME_DIR", runtime), put("HOME", home), put("XDG_CACHE_HOME", cache), put("TMPDIR", tmp);
    }};
    const auto mkdir = [](const QString& path, mode_t mode) {
        ASSERT_EQ(::mkdir(QFile::encodeName(path).constData(), mode), 0);
        ::chmod(QFile::encodeName(path).constData(), mode);
    };
    const struct {
        const char* what;
        std::function<void(const QString& home, const QString& shared)> plant;
        bool usable;
        bool needsRoot = false;  // to make a folder someone else's
    } cases[] = {
        {"nothing there yet", [](const QString&, const QString&) {}, true},
        {"the old name in the shared folder taken by another",
         [&](const QString&, const QString& shared) {
             mkdir(shared + "/morvaline-" + QString::number(::getuid()), 0777);
             QFile::link(shared, shared + "/runtime-" + qgetenv("USER"));
         },
         true},
        {"the session's runtime folder open to others: left as it is, not used",
         [&](const QString& h, const QString&) {
             mkdir(h + "/run", 0755);
             qputenv("XDG_RUNTIME_DIR", QFile::encodeName(h + "/run"));
         },
         true},
        {"our own folder left open",
         [&](const QString& h, const QString&) {
             mkdir(h + "/.cache", 0755), mkdir(h + "/.cache/morvaline", 0777);
         },
         true},
        {"a link in its place",
         [&](const QString& h, const QString& shared) {
             mkdir(h + "/.cache", 0755);
             ASSERT_TRUE(QFile::link(shared, h + "/.cache/morvaline"));
         },
         false},
        {"another user's folder in its place",
         [&](const QString& h, const QString&) {
             mkdir(h + "/.cache", 0755), mkdir(h + "/.cache/morvaline", 0777);
             ASSERT_EQ(::chown(QFile::encodeName(h + "/.cache/morvaline").constData(), 4242, 4242), 0);
         },
         false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsRoot && ::geteuid() != 0) continue;
        QTemporaryDir root;
        const QString homeDir = root.path() + "/home", shared = root.path() + "/tmp";
        mkdir(homeDir, 0755);
        mkdir(shared, 01777);
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_CACHE_HOME");
        qputenv("HOME", QFile::encodeName(homeDir));
        qputenv("TMPDIR", QFile::encodeName(shared));
        c.plant(homeDir, shared);
        const QStringList planted = test::Entries(shared);
        const QString ours = homeDir + "/.cache/morvaline";
        const LockFolder found = FindLockFolder();
        if (c.usable) {
            EXPECT_EQ(found.path, ours);
            struct stat st;
            ASSERT_EQ(::lstat(QFile::encodeName(ours).constData(), &st), 0);
            EXPECT_TRUE(S_ISDIR(st.st_mode));
            EXPECT_EQ(st.st_mode & 0777, 0700u);
        } else {
            EXPECT_TRUE(found.path.isEmpty());
            EXPECT_EQ(found.failed, ours);
            EXPECT_TRUE(LockFolderUnusableText(found.failed, found.why).contains(ours));
        }
        EXPECT_EQ(test::Entries(shared), planted) << "nothing made or taken in the shared folder";
        EXPECT_FALSE(QFileInfo(homeDir + "/.cache").permissions() & QFile::WriteOther);
        struct stat run;
        if (::lstat(QFile::encodeName(homeDir + "/run").constData(), &run) == 0) {
            EXPECT_EQ(run.st_mode & 0777, 0755u) << "a folder the program did not make keeps its mode";
        }
    }
}

}  // namespace
}  // namespace morv

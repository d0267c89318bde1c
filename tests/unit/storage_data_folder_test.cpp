#include "storage/DataFolder.h"

#include "storage_test_support.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <optional>

namespace morv {
namespace {

// Sets variables for one test and puts back what was there before.
class Environment {
public:
    void set(const char* name, const std::optional<QByteArray>& value) {
        if (!saved_.contains(name))
            saved_.insert(name,
                          qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~Environment() {
        for (auto it = saved_.cbegin(); it != saved_.cend(); ++it) {
            if (it.value())
                qputenv(it.key().constData(), *it.value());
            else
                qunsetenv(it.key().constData());
        }
    }

private:
    QMap<QByteArray, std::optional<QByteArray>> saved_;
};

mode_t ModeOf(const QString& path) {
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

class DataFolderTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString root = dir.path();
    QString program = root + "/bin";
    Environment env;
};

TEST_F(DataFolderTest, UsesXdgDataHomeWhenAbsolute) {
    env.set("XDG_DATA_HOME", QFile::encodeName(root + "/data/share"));
    // Only our own folder is private, whatever the umask; its parents are
    // made as usual, never open to everyone.
    const mode_t umask = ::umask(0);
    const QString folder = LocateDataFolder(program);
    ::umask(umask);
    EXPECT_EQ(folder, root + "/data/share/Tavelnor/");
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_EQ(ModeOf(root + "/data"), 0755u);
    EXPECT_EQ(ModeOf(root + "/data/share"), 0755u);

    // An existing folder is made private too, and its contents stay.
    ASSERT_EQ(::chmod(qPrintable(folder), 0755), 0);
    test::WriteBytes(folder + "Moku.txt", "7\r\n");
    EXPECT_EQ(LocateDataFolder(program), folder);
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_EQ(test::ReadBytes(folder + "Moku.txt"), "7\r\n");
}

TEST_F(DataFolderTest, FallsBackToHomeWhenXdgDataHomeIsUnusable) {
    // Run where a wrongly honoured relative path would show.
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root));
    struct Back {
        QString to;
        ~Back() { QDir::setCurrent(to); }
    } back{cwd};
    env.set("HOME", QFile::encodeName(root + "/home"));
    const std::optional<QByteArray> values[] = {QByteArray("relative/data"), QByteArray(""), std::nullopt};
    for (const auto& value : values) {
        SCOPED_TRACE(value ? value->constData() : "unset");
        env.set("XDG_DATA_HOME", value);
        const QString folder = LocateDataFolder(program);
        EXPECT_EQ(folder, root + "/home/.local/share/Tavelnor/");
        EXPECT_EQ(ModeOf(folder), 0700u);
    }
    EXPECT_FALSE(QDir(root + "/relative").exists());
}

TEST_F(DataFolderTest, UsesTheProgramFolderWhenNoUserFolderCanBeHad) {
    // A file where a folder should be stops even root from creating it.
    test::WriteBytes(root + "/file", "");
    const struct {
        const char* name;
        std::optional<QByteArray> xdg, home;
        QString programFolder, expected, problemStart;
    } cases[] = {
        {"cannot be created", QFile::encodeName(root + "/file/data"), std::nullopt, program, program + "/",
         root + "/file/data/Tavelnor: 作成できません ("},
        {"Tavelnor is a file", QFile::encodeName(root), std::nullopt, program + "/", program + "/",
         root + "/Tavelnor: 作成できません ("},
        {"no home at all", std::nullopt, std::nullopt, program, program + "/", "HOME"},
        {"relative home", std::nullopt, QByteArray("home"), program, program + "/", "HOME"},
    };
    test::WriteBytes(root + "/Tavelnor", "");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        env.set("XDG_DATA_HOME", c.xdg);
        env.set("HOME", c.home);
        QString problem;
        EXPECT_EQ(LocateDataFolder(c.programFolder, &problem), c.expected);
        EXPECT_TRUE(problem.startsWith(c.problemStart)) << problem.toStdString();
    }
}

}  // namespace
}  // namespace morv

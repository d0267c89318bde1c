#pragma once
// Starts the real main window on a private data folder, with scripted dialogs
// and a fixed day (2024/01/05), as the program's start-up does.

#include "Fakes.h"
#include "storage/DataFolder.h"
#include "ui/Controls.h"
#include "window/Form1.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace morv::test {

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        folder = LocateDataFolder(home.path() + QStringLiteral("/program"));
        ASSERT_EQ(folder, home.path() + QStringLiteral("/Tavelnor/"));
    }
    void TearDown() override {
        form.reset();
        qunsetenv("XDG_DATA_HOME");
    }

    Form1& start(FileOps& ops = SystemFileOps()) {
        form = std::make_unique<Form1>(dialogs, clock, folder, ops);
        form->Load();
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    QString path(const QString& name) const { return folder + name; }
    QByteArray bytes(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool exists(const QString& name) const { return QFile::exists(path(name)); }
    void put(const QString& name, const QByteArray& content) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    template <class W>
    W* find(const char* name) const {
        W* widget = form->findChild<W*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QTemporaryDir home;
    ScriptedDialogs dialogs;
    FixedClock clock{QDateTime(QDate(2024, 1, 5), QTime(9, 30))};
    QString folder;
    std::unique_ptr<Form1> form;
};

}  // namespace morv::test

// A second launch knocks on the running copy, which comes to the front.

#include "platform/RaiseRunning.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace morv {
namespace {

TEST(RaiseRunning, AKnockUnminimisesTheRunningWindowAlsoAfterACrashLeftItsSocket) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("raise.socket"));
    EXPECT_FALSE(AskRunningToRaise(name, 200)) << "nobody listens yet";

    // What a killed copy leaves behind is taken over.
    QFile leftOver(name);
    ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();

    QWidget window;
    window.showMinimized();
    ASSERT_TRUE(window.windowState() & Qt::WindowMinimized);
    RaiseOnRequest listener(name, &window);
    ASSERT_TRUE(listener.listening());
    EXPECT_TRUE(AskRunningToRaise(name));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !(window.windowState() & Qt::WindowMinimized); }, 3000));
    EXPECT_TRUE(window.isVisible());

    // Folders differ, so do their sockets; each stays in the user's own place.
    EXPECT_NE(RaiseSocketName("/home/a/Tavelnor/"), RaiseSocketName("/home/b/Tavelnor/"));
    EXPECT_EQ(RaiseSocketName("/home/a/Tavelnor/"), RaiseSocketName("/home/a/Tavelnor"));
}

}  // namespace
}  // namespace morv

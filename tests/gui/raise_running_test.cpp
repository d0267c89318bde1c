// A second launch knocks on the running copy, which comes to the front.

#include "platform/RaiseRunning.h"
#include "platform/X11Activate.h"

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
    EXPECT_FALSE(AskRunningToRaise(name, {}, 200)) << "nobody listens yet";

    // What a killed copy leaves behind is taken over.
    QFile leftOver(name);
    ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();

    QWidget window;
    window.showMinimized();
    ASSERT_TRUE(window.windowState() & Qt::WindowMinimized);
    RaiseOnRequest listener(name, &window);
    ASSERT_TRUE(listener.listening());
    QList<LaunchTokens> heard;
    QObject::connect(&listener, &RaiseOnRequest::raised, [&](const LaunchTokens& t) { heard.append(t); });
    EXPECT_TRUE(AskRunningToRaise(name));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !(window.windowState() & Qt::WindowMinimized); }, 3000));
    EXPECT_TRUE(window.isVisible());

    // The launch's tokens reach the running copy, which lets it take the focus;
    // one with spaces or control characters is not passed on.
    const LaunchTokens launch{QStringLiteral("wl-4f2a"), QStringLiteral("host;1;2_TIME4711")};
    EXPECT_TRUE(AskRunningToRaise(name, launch));
    EXPECT_TRUE(AskRunningToRaise(name, {QStringLiteral("a b"), QStringLiteral("x\ny")}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return heard.size() == 3; }, 3000));
    ASSERT_EQ(heard.size(), 3);
    EXPECT_EQ(heard[0], LaunchTokens{});
    EXPECT_EQ(heard[1], launch);
    EXPECT_EQ(heard[2], LaunchTokens{});
    EXPECT_EQ(StartupIdTime(launch.startupId), 4711u);
    EXPECT_EQ(StartupIdTime(QStringLiteral("host;1;2")), 0u);

    // Folders differ, so do their sockets; each stays in the user's own place.
    EXPECT_NE(RaiseSocketName("/home/a/Tavelnor/"), RaiseSocketName("/home/b/Tavelnor/"));
    EXPECT_EQ(RaiseSocketName("/home/a/Tavelnor/"), RaiseSocketName("/home/a/Tavelnor"));
}

}  // namespace
}  // namespace morv

#include "platform/core/CommandLineOptions.h"

#include <gtest/gtest.h>

using namespace morv;

TEST(CommandLine, ReadsWhatItKnowsAndRefusesTheRest) {
    struct Case {
        QStringList arguments;
        bool ok, help, version;
        QString platform;
    };
    const Case cases[] = {
        {{}, true, false, false, {}},
        {{"-h"}, true, true, false, {}},
        {{"--version"}, true, false, true, {}},
        {{"-platform", "offscreen"}, true, false, false, "offscreen"},
        {{"--platform", "xcb", "-session", "s1"}, true, false, false, "xcb"},
        {{"--platform=wayland"}, false, false, false, {}},  // Qt would not see the value
        {{"-platform"}, false, false, false, {}},           // its value is missing
        {{"--help=all"}, false, false, false, {}},          // a switch with a value
        {{"--bogus"}, false, false, false, {}},
        {{"--help", "--bogus"}, false, true, false, {}},  // refused even after --help
        {{"-style", "fusion"}, false, false, false, {}},  // the window style is the program's own
        {{"notes.txt"}, false, false, false, {}},
        {{"-"}, false, false, false, {}},
        {{"--report", "r.pdf", "--from", "2024/01/01"}, true, false, false, {}},
        {{"--to", "2024/01/01"}, false, false, false, {}},  // a period without a report
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments, HelpLanguage::English);
        const QString what = c.arguments.join(' ');
        EXPECT_EQ(line.error.isEmpty(), c.ok) << what.toStdString() << ": " << line.error.toStdString();
        EXPECT_FALSE(line.error.contains('\n')) << what.toStdString();
        if (!c.ok) continue;
        EXPECT_EQ(line.help, c.help) << what.toStdString();
        EXPECT_EQ(line.version, c.version) << what.toStdString();
        EXPECT_EQ(line.values.value("platform"), c.platform) << what.toStdString();
    }
}

TEST(CommandLine, SpeaksTheLanguageOfTheMessagesLocale) {
    struct Case {
        const char *lcAll, *lcMessages, *lang;
        HelpLanguage expected;
    };
    const Case cases[] = {
        {"", "", "ja_JP.UTF-8", HelpLanguage::Japanese},
        {"", "", "en_GB.UTF-8", HelpLanguage::English},
        {"", "", "", HelpLanguage::English},
        {"C", "", "ja_JP.UTF-8", HelpLanguage::English},
        {"", "ja_JP.UTF-8", "C.UTF-8", HelpLanguage::Japanese},
        {"ja_JP.eucJP", "en_US", "en_US", HelpLanguage::Japanese},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageOfLocale(c.lcAll, c.lcMessages, c.lang), c.expected)
            << c.lcAll << "|" << c.lcMessages << "|" << c.lang;

    // Each help is in one language: the English one has no Japanese character,
    // the Japanese one no English word outside the option names and paths.
    const QString english = HelpText(HelpLanguage::English);
    for (const QChar c : english) EXPECT_LT(c.unicode(), 0x80) << english.toStdString();
    for (const char* word : {"Usage", "Options", "show", "the"})
        EXPECT_FALSE(HelpText(HelpLanguage::Japanese).contains(word)) << word;
    const QString errorJa = ParseCommandLine({"--bogus"}, HelpLanguage::Japanese).error;
    EXPECT_TRUE(errorJa.contains("--bogus") && errorJa.contains(QStringLiteral("不明")))
        << errorJa.toStdString();
}

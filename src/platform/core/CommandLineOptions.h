#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace morv {

enum class HelpLanguage { Japanese, English };

// Japanese when the locale that decides the language of messages names it:
// the first of LC_ALL, LC_MESSAGES and LANG that is set.
HelpLanguage LanguageOfLocale(const QString& lcAll, const QString& lcMessages, const QString& lang);

// What the command line asks for. The window-system options that Qt reads
// itself are accepted and left in argv for QApplication.
struct CommandLine {
    bool help = false;
    bool version = false;
    // Every option given, by its long name without dashes ("platform"), with
    // its value (empty for a switch); the last one counts when repeated.
    QMap<QString, QString> values;
    // One line saying what was not understood; empty when all was.
    QString error;
};

// arguments holds what follows the program name.
CommandLine ParseCommandLine(const QStringList& arguments, HelpLanguage language);

// "Usage: morvaline [OPTION]..." in the given language.
QString UsageLine(HelpLanguage language);
// The whole --help text, ending with a line break.
QString HelpText(HelpLanguage language);
// The two lines after a command-line error: the usage and where to read more.
QString UsageHint(HelpLanguage language);

}  // namespace morv

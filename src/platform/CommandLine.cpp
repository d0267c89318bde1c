#include "platform/CommandLine.h"

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace morv {

CommandLine ReadCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const HelpLanguage language = LanguageOfLocale(
        qEnvironmentVariable("LC_ALL"), qEnvironmentVariable("LC_MESSAGES"), qEnvironmentVariable("LANG"));
    CommandLine line = ParseCommandLine(arguments, language);
    if (!line.error.isEmpty()) {
        std::fputs(QStringLiteral("morvaline: %1\n%2")
                       .arg(line.error, UsageHint(language))
                       .toLocal8Bit()
                       .constData(),
                   stderr);
        std::exit(2);
    }
    if (line.help || line.version) {
        const QString text =
            line.help ? HelpText(language) : QStringLiteral("Morvaline " MORVALINE_VERSION "\n");
        std::fputs(text.toLocal8Bit().constData(), stdout);
        std::exit(std::fflush(stdout) == 0 ? 0 : 1);
    }
    return line;
}

}  // namespace morv

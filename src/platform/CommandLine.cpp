#include "platform/CommandLine.h"

#include "platform/Translations.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace morv {

void AnswerInfoOptions(int argc, char** argv) {
    if (argc < 2) return;
    QCoreApplication::setApplicationName(QStringLiteral("Morvaline"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MORVALINE_VERSION));
    // A window-less application: the window system is not needed to answer.
    QCoreApplication probe(argc, argv);
    LoadJapaneseQtTexts(probe);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("塩分摂取量と血圧を記録する日記です。"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOption({QStringLiteral("report"), QStringLiteral("塩分・血圧のレポートをPDFファイルに書き出して終了します"),
                      QStringLiteral("FILE.pdf")});
    parser.addOption({QStringLiteral("from"), QStringLiteral("レポートの開始日（既定: 終了日の27日前）"),
                      QStringLiteral("YYYY/MM/DD")});
    parser.addOption({QStringLiteral("to"), QStringLiteral("レポートの終了日（既定: 今日）"), QStringLiteral("YYYY/MM/DD")});
    // Unknown options are Qt's own; they are not errors here.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) parser.showHelp();
    if (parser.isSet(version)) parser.showVersion();
}

}  // namespace morv

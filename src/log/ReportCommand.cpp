#include "log/ReportCommand.h"

#include "log/ReportPainter.h"
#include "log/core/ReportFiles.h"
#include "log/core/ReportSums.h"
#include "platform/core/Clock.h"
#include "platform/core/CommandLineOptions.h"
#include "storage/DataFolder.h"
#include "storage/SafeWrite.h"
#include "text/DateText.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>

namespace morv {
namespace {

bool asksForReport(int argc, char** argv) {
    bool report = false;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h") || !std::strcmp(a, "--help-all") ||
            !std::strcmp(a, "--version") || !std::strcmp(a, "-v"))
            return false;
        if (!std::strcmp(a, "--report") || !std::strncmp(a, "--report=", 9)) report = true;
    }
    return report;
}

// The command's own lines follow the locale, as --help does.
bool japanese() {
    return LanguageOfLocale(qEnvironmentVariable("LC_ALL"), qEnvironmentVariable("LC_MESSAGES"),
                            qEnvironmentVariable("LANG")) == HelpLanguage::Japanese;
}

QString say(const char* ja, const char* en) { return QString::fromUtf8(japanese() ? ja : en); }

QString targetRefusal(ReportTarget problem, const QString& path) {
    switch (problem) {
        case ReportTarget::NotRegular:
            return say("%1 は普通のファイルではないので、レポートを書き込みません",
                       "%1 is not a regular file; the report is not written to it")
                .arg(path);
        case ReportTarget::InDataFolder:
            return say("%1 は日記のデータです。レポートはデータフォルダの外に書いてください",
                       "%1 is the diary's data; write the report outside the data folder")
                .arg(path);
        case ReportTarget::ReadOnly:
            return say("%1 は読み取り専用なので、上書きしません", "%1 is read-only; it is not replaced")
                .arg(path);
        case ReportTarget::Allowed:
            break;
    }
    return {};
}

int fail(int code, const QString& why) {
    std::fprintf(stderr, "morvaline: %s\n", why.toLocal8Bit().constData());
    return code;
}

// Qt's own warnings (fonts, runtime folder) are not this command's output.
void quiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

std::optional<ReportRequest> ParseReportArguments(const QStringList& arguments, QDate today, QString& why) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption report(ReportOption, {}, QStringLiteral("FILE.pdf"));
    const QCommandLineOption from(ReportFromOption, {}, QStringLiteral("YYYY/MM/DD"));
    const QCommandLineOption to(ReportToOption, {}, QStringLiteral("YYYY/MM/DD"));
    parser.addOptions({report, from, to});
    if (!parser.parse(arguments)) {
        why = parser.errorText();
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        why = say("余分な引数があります: %1", "unexpected argument: %1")
                  .arg(parser.positionalArguments().constFirst());
        return std::nullopt;
    }
    for (const QCommandLineOption* o : {&report, &from, &to})
        if (parser.values(*o).size() > 1) {
            why = say("--%1 が2回以上指定されています", "--%1 is given more than once")
                      .arg(o->names().constFirst());
            return std::nullopt;
        }
    ReportRequest request;
    request.file = parser.value(report);
    if (request.file.isEmpty()) {
        why =
            say("--report には出力するPDFファイルを指定してください", "--report needs the PDF file to write");
        return std::nullopt;
    }
    auto date = [&](const QCommandLineOption& option, QDate& out) {
        if (!parser.isSet(option)) return true;
        // The forms the report panel takes: 2026/12/08, 2026-12-08, 20261208.
        const std::optional<QDate> read = ReadDate(NormalizeDateText(parser.value(option)));
        if (!read)
            why = say("--%1 の日付が正しくありません: %2", "--%1 is not a date: %2")
                      .arg(option.names().constFirst(), parser.value(option));
        if (read) out = *read;
        return read.has_value();
    };
    if (!date(from, request.from) || !date(to, request.to)) return std::nullopt;
    if (!request.to.isValid()) request.to = today;
    if (!request.from.isValid()) request.from = request.to.addDays(-(ReportDefaultDays - 1));
    if (request.from > request.to) {
        why = say("開始日 %1 が終了日 %2 より後です", "the first day %1 is after the last day %2")
                  .arg(DateText(request.from), DateText(request.to));
        return std::nullopt;
    }
    if (request.from.daysTo(request.to) + 1 > ReportMaxDays) {
        why = say("期間が長すぎます（%1日まで）", "the period is too long (at most %1 days)")
                  .arg(ReportMaxDays);
        return std::nullopt;
    }
    return request;
}

std::optional<int> RunReportCommand(int argc, char** argv) {
    if (!asksForReport(argc, argv)) return std::nullopt;
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    SystemClock clock;
    QString why;
    const std::optional<ReportRequest> request = ParseReportArguments(arguments, clock.today(), why);
    if (!request) return fail(2, why);

    // No window is ever shown: the offscreen platform needs no display and
    // still gives the painter the system's fonts.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    QString folder = UserDataFolderPath();
    if (folder.isEmpty()) folder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    // What was named is checked before ".pdf" is added: /dev/null is refused,
    // not turned into /dev/null.pdf.
    const QString named = QFileInfo(request->file).absoluteFilePath();
    if (const ReportTarget problem = CheckReportTarget(named, folder); problem != ReportTarget::Allowed)
        return fail(2, targetRefusal(problem, named));
    const QString suffix = QFileInfo(named).suffix();
    if (!suffix.isEmpty() && suffix.compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
        return fail(2, say("レポートはPDFファイルです。名前を .pdf で終わるようにしてください: %1",
                           "the report is a PDF file; give a name ending in .pdf: %1")
                           .arg(named));
    const QString path = suffix.isEmpty() ? named + QStringLiteral(".pdf") : named;
    if (const ReportTarget problem = CheckReportTarget(path, folder); problem != ReportTarget::Allowed)
        return fail(2, targetRefusal(problem, path));

    ReportSource source;
    if (!ReadReportSource(folder, source, why, japanese() ? HelpLanguage::Japanese : HelpLanguage::English))
        return fail(1, why);

    const SaltReport report = MakeSaltReport(source.log, request->from, request->to, source.target);
    const QByteArray pdf = ReportPdf(report, clock.today());
    if (pdf.isEmpty()) return fail(1, say("レポートを作成できません", "the report could not be made"));
    if (!ReplaceFileDurably(SystemFileOps(), path, pdf))
        return fail(1,
                    say("%1 に書き込めません: %2", "cannot write %1: %2").arg(path, qt_error_string(errno)));
    return 0;
}

}  // namespace morv

#include "platform/core/CommandLineOptions.h"

#include <iterator>

namespace morv {
namespace {

struct Words {
    const char* japanese;
    const char* english;
    QString in(HelpLanguage language) const {
        return QString::fromUtf8(language == HelpLanguage::Japanese ? japanese : english);
    }
};

// Every option the program accepts. A new option is one more row; the help
// text, the parser and the manual page (made from --help) follow it.
struct Option {
    const char* shortName;  // "-h", or nullptr
    const char* longName;   // "--help"; a Qt option is written "-platform"
    Words value;            // what the value is called, or {} for a switch
    Words text;             // its line in --help, or {} to leave it out
    bool forQt = false;     // read by QApplication from argv
};

const Option kOptions[] = {
    {"-h", "--help", {}, {"この説明を表示して終了します。", "show this help and exit"}},
    {"-v", "--version", {}, {"版数を表示して終了します。", "show the version and exit"}},
    {nullptr,
     "--report",
     {"ファイル.pdf", "FILE.pdf"},
     {"塩分・血圧のレポートを PDF ファイルに書き出して終了します (ウィンドウは開きません)。",
      "write the salt and blood-pressure report to a PDF file and exit (no window)"}},
    {nullptr,
     "--from",
     {"年/月/日", "YYYY/MM/DD"},
     {"レポートの開始日 (既定: 終了日の27日前)。",
      "the report's first day (default: 27 days before the last)"}},
    {nullptr,
     "--to",
     {"年/月/日", "YYYY/MM/DD"},
     {"レポートの終了日 (既定: 今日)。", "the report's last day (default: today)"}},
    {nullptr,
     "-platform",
     {"名前", "NAME"},
     {"表示に使う Qt のプラットフォーム (xcb、wayland、offscreen など)。",
      "the Qt platform to display on (xcb, wayland, offscreen ...)"},
     true},
    {nullptr,
     "-display",
     {"表示先", "DISPLAY"},
     {"X の表示先 (xcb のときだけ)。", "the X display to use (xcb only)"},
     true},
    // A session manager that restarts the program adds this; it is not for users.
    {nullptr, "-session", {"ID", "ID"}, {}, true},
};

bool Takes(const Option& option) { return option.value.english != nullptr; }

QString Key(const Option& option) {
    QString name = QString::fromLatin1(option.longName);
    while (name.startsWith(QLatin1Char('-'))) name.remove(0, 1);
    return name;
}

// Qt reads its options with one dash or two.
bool Names(const Option& option, const QString& word) {
    const QString longName = QString::fromLatin1(option.longName);
    if (word == longName) return true;
    if (option.shortName && word == QLatin1String(option.shortName)) return true;
    return option.forQt && word == QLatin1Char('-') + longName;
}

const Option* Find(const QString& word) {
    for (const Option& option : kOptions)
        if (Names(option, word)) return &option;
    return nullptr;
}

// Columns a terminal gives the text: East Asian characters take two.
int Columns(const QString& text) {
    int columns = 0;
    for (const QChar c : text) columns += c.unicode() >= 0x1100 ? 2 : 1;
    return columns;
}

}  // namespace

HelpLanguage LanguageOfLocale(const QString& lcAll, const QString& lcMessages, const QString& lang) {
    for (const QString& locale : {lcAll, lcMessages, lang})
        if (!locale.isEmpty())
            return locale.startsWith(QLatin1String("ja")) ? HelpLanguage::Japanese : HelpLanguage::English;
    return HelpLanguage::English;
}

CommandLine ParseCommandLine(const QStringList& arguments, HelpLanguage language) {
    const bool ja = language == HelpLanguage::Japanese;
    CommandLine line;
    for (qsizetype i = 0; i < arguments.size() && line.error.isEmpty(); ++i) {
        QString word = arguments[i];
        QString attached;
        bool hasAttached = false;
        if (word.startsWith(QLatin1String("--")) && word.contains(QLatin1Char('='))) {
            attached = word.mid(word.indexOf(QLatin1Char('=')) + 1);
            word.truncate(word.indexOf(QLatin1Char('=')));
            hasAttached = true;
        }
        const Option* option = word.startsWith(QLatin1Char('-')) ? Find(word) : nullptr;
        // Qt takes the value of its options only as the next argument.
        if (option && option->forQt && hasAttached) option = nullptr;
        if (!option) {
            line.error =
                arguments[i].startsWith(QLatin1Char('-')) && arguments[i].size() > 1
                    ? (ja ? QStringLiteral("不明なオプションです: %1") : QStringLiteral("unknown option: %1"))
                          .arg(arguments[i])
                    : (ja ? QStringLiteral("余分な引数です: %1") : QStringLiteral("unexpected argument: %1"))
                          .arg(arguments[i]);
        } else if (!Takes(*option)) {
            if (hasAttached)
                line.error = (ja ? QStringLiteral("オプション %1 は値をとりません")
                                 : QStringLiteral("option %1 takes no value"))
                                 .arg(word);
            else
                line.values[Key(*option)] = QString();
        } else if (hasAttached || i + 1 < arguments.size()) {
            line.values[Key(*option)] = hasAttached ? attached : arguments[++i];
        } else {
            line.error = (ja ? QStringLiteral("オプション %1 には%2が必要です")
                             : QStringLiteral("option %1 needs a %2"))
                             .arg(word, option->value.in(language));
        }
    }
    const bool period =
        line.values.contains(QStringLiteral("from")) || line.values.contains(QStringLiteral("to"));
    if (line.error.isEmpty() && period && !line.values.contains(QStringLiteral("report")))
        line.error = ja ? QStringLiteral("--from と --to は --report と一緒に使います")
                        : QStringLiteral("--from and --to go with --report");
    line.help = line.values.contains(QStringLiteral("help"));
    line.version = line.values.contains(QStringLiteral("version"));
    return line;
}

QString UsageLine(HelpLanguage language) {
    return language == HelpLanguage::Japanese ? QStringLiteral("使用法: morvaline [オプション]...")
                                              : QStringLiteral("Usage: morvaline [OPTION]...");
}

QString UsageHint(HelpLanguage language) {
    return UsageLine(language) + QLatin1Char('\n') +
           (language == HelpLanguage::Japanese
                ? QStringLiteral("詳しくは 'morvaline --help' を見てください。\n")
                : QStringLiteral("Try 'morvaline --help' for more information.\n"));
}

QString HelpText(HelpLanguage language) {
    const bool ja = language == HelpLanguage::Japanese;
    QString text = UsageLine(language) + QLatin1Char('\n');
    text +=
        ja ? QStringLiteral(
                 "塩分摂取量と血圧を記録する日記のウィンドウを開きます。\n"
                 "データは $XDG_DATA_HOME/Tavelnor/ (既定では ~/.local/share/Tavelnor/) に保存されます。\n")
           : QStringLiteral(
                 "Opens the window of a diary of daily salt intake and blood pressure.\n"
                 "The diary is kept in $XDG_DATA_HOME/Tavelnor/ (by default ~/.local/share/Tavelnor/).\n");
    text += ja ? QStringLiteral("\nオプション:\n") : QStringLiteral("\nOptions:\n");
    constexpr int kTextColumn = 24;
    for (const Option& option : kOptions) {
        if (!option.text.english) continue;
        QString names = QStringLiteral("  ");
        if (option.shortName) names += QLatin1String(option.shortName) + QLatin1String(", ");
        names += QLatin1String(option.longName);
        if (Takes(option)) names += QLatin1Char(' ') + option.value.in(language);
        const int pad = kTextColumn - Columns(names);
        text += names + (pad >= 2 ? QString(pad, QLatin1Char(' '))
                                  : QStringLiteral("\n") + QString(kTextColumn, QLatin1Char(' ')));
        text += option.text.in(language) + QLatin1Char('\n');
    }
    return text;
}

}  // namespace morv

#include "log/ReportCommand.h"
#include "platform/CloseOnSignal.h"
#include "platform/CommandLine.h"
#include "platform/FontConfigWarmUp.h"
#include "platform/QtDialogs.h"
#include "platform/RaiseRunning.h"
#include "platform/SingleInstance.h"
#include "platform/Translations.h"
#include "platform/core/Clock.h"
#include "storage/DataFolder.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "window/Form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    const morv::CommandLine line = morv::ReadCommandLine(argc, argv);
    if (line.values.contains(morv::ReportOption)) return morv::RunReportCommand(argc, argv).value_or(2);
    // Before the QApplication, which takes the startup id for its own window.
    const morv::LaunchTokens launch = morv::LaunchTokensFromEnvironment();
    morv::FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvaline"));
    QGuiApplication::setDesktopFileName(QStringLiteral("morvaline"));
    QApplication::setStyle(morv::NewProgramStyle());
    QApplication::setFont(morv::WindowFont());

    morv::LoadJapaneseQtTexts(app);
    morv::QtDialogs dialogs;
    QString problem;
    const QString folder = morv::LocateDataFolder(QCoreApplication::applicationDirPath(), &problem);
    morv::SingleInstance instance(folder);
    if (!instance.acquire()) {
        if (instance.heldByAnother()) {  // another copy is running: it comes to the front, this one ends
            morv::AskRunningToRaise(morv::RaiseSocketName(folder), launch);
            return 0;
        }
        const QString lockProblem = instance.lockProblemText();
        dialogs.notice(lockProblem.isEmpty()
                           ? morv::DataFolderUnusableText(problem, folder, instance.whyNot())
                           : lockProblem);
        return 1;
    }

    morv::SystemClock clock;
    fonts.finish();
    morv::Form1 window(dialogs, clock, folder);
    dialogs.setOwner(&window);
    morv::CloseWindowOnTerminationSignals(&window, [&window] { return window.SavedWhole(); });
    window.Load(morv::Form1::LogRead::AfterFirstPaint);
    window.FitToScreen();
    morv::RaiseOnRequest raise(morv::RaiseSocketName(folder), &window);
    window.show();
    const int status = app.exec();
    window.document().LeaveLogAtExit();
    return status;
}

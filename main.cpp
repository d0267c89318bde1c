#include "app/Controls.h"
#include "app/Form1.h"
#include "log/ReportCommand.h"
#include "platform/Clock.h"
#include "platform/CloseOnSignal.h"
#include "platform/CommandLine.h"
#include "platform/QtDialogs.h"
#include "platform/SingleInstance.h"
#include "platform/Translations.h"
#include "storage/DataFolder.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char** argv) {
    const morv::CommandLine line = morv::ReadCommandLine(argc, argv);
    if (line.values.contains(morv::ReportOption)) return morv::RunReportCommand(argc, argv).value_or(2);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvaline"));
    QGuiApplication::setDesktopFileName(QStringLiteral("morvaline"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(morv::WindowFont());

    morv::LoadJapaneseQtTexts(app);
    morv::QtDialogs dialogs;
    QString problem;
    const QString folder = morv::LocateDataFolder(QCoreApplication::applicationDirPath(), &problem);
    morv::SingleInstance instance(folder);
    if (!instance.acquire()) {
        if (instance.heldByAnother()) return 0;  // another copy is running: end silently
        dialogs.notice(morv::DataFolderUnusableText(problem, folder, instance.whyNot()));
        return 1;
    }

    morv::SystemClock clock;
    morv::Form1 window(dialogs, clock, folder);
    dialogs.setOwner(&window);
    morv::CloseWindowOnTerminationSignals(&window);
    window.Load(morv::Form1::LogRead::AfterFirstPaint);
    window.show();
    const int status = app.exec();
    window.diary().LeaveLogAtExit();
    return status;
}

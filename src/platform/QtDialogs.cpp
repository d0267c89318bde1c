#include "platform/QtDialogs.h"

#include "platform/CloseOnSignal.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace morv {

std::unique_ptr<QMessageBox> MakeNoticeBox(QWidget* owner, const QString& text) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, ProgramTitle, text, QMessageBox::Ok, owner);
    // Messages quote dates, amounts and file names as they stand.
    box->setTextFormat(Qt::PlainText);
    return box;
}

std::unique_ptr<QMessageBox> MakeQuestionBox(QWidget* owner, const QString& text) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, ProgramTitle, text,
                                             QMessageBox::Yes | QMessageBox::No, owner);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

void QtDialogs::notice(const QString& text) {
    // Nobody waits for an OK at a logout or a shutdown.
    if (TerminationRequested()) return ReportWhileTerminating(text);
    const MessageOnScreen shown(text, false);
    MakeNoticeBox(owner_, text)->exec();
}

bool QtDialogs::askYesNo(const QString& text) {
    if (TerminationRequested()) return false;  // the default button
    const MessageOnScreen shown(text, true);
    return MakeQuestionBox(owner_, text)->exec() == QMessageBox::Yes;
}

void PrepareFileDialog(QFileDialog& dialog, const FileRequest& request, bool save) {
    dialog.setWindowTitle(request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(request.filter);
    // Name filters are case-sensitive unless told otherwise; the files the
    // program writes end in .TXT while most Linux users type .txt.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    const QString folder = request.initialFolder.isEmpty() || !QDir(request.initialFolder).exists()
                               ? QDir::homePath()
                               : request.initialFolder;
    dialog.setDirectory(folder);
    if (save && !request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
}

static std::optional<QString> runFileDialog(QWidget* owner, const FileRequest& request, bool save) {
    if (TerminationRequested()) return std::nullopt;
    QFileDialog dialog(owner);
    PrepareFileDialog(dialog, request, save);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(chosen.first());
}

std::optional<QString> QtDialogs::chooseSaveFile(const FileRequest& request) {
    return runFileDialog(owner_, request, true);
}

std::optional<QString> QtDialogs::chooseOpenFile(const FileRequest& request) {
    return runFileDialog(owner_, request, false);
}

}  // namespace morv

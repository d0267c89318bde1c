#pragma once
#include "platform/core/Dialogs.h"

#include <memory>

class QWidget;
class QFileDialog;
class QMessageBox;

namespace morv {

// Message boxes and file dialogs of the running program. Once a termination
// signal has arrived none is shown: a notice goes to standard error (and the
// program ends with status 1), a question gets its default No, a file dialog
// is cancelled.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void notice(const QString& text) override;
    bool askYesNo(const QString& text) override;
    std::optional<QString> chooseSaveFile(const FileRequest& request) override;
    std::optional<QString> chooseOpenFile(const FileRequest& request) override;

private:
    QWidget* owner_;
};

// The message boxes as they are shown: titled "Morvaline", OK alone, or Yes and
// No with No as the default. Shared with tests.
std::unique_ptr<QMessageBox> MakeNoticeBox(QWidget* owner, const QString& text);
std::unique_ptr<QMessageBox> MakeQuestionBox(QWidget* owner, const QString& text);

// Sets up a file dialog the way the program needs it on Linux: our own dialog
// (so the rules below hold on every desktop), the filter matching .txt and .TXT
// alike, the home folder as the start, no overwrite question. Shared with tests.
void PrepareFileDialog(QFileDialog& dialog, const FileRequest& request, bool save);

}  // namespace morv

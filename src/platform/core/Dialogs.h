#pragma once
// Everything modal goes through this one interface, so the program's questions
// and notices can be answered by a script in tests and by real message boxes and
// file dialogs in the running program.

#include <QString>
#include <optional>

namespace morv {

inline const QString ProgramTitle = QStringLiteral("Morvaline");
inline const QString TextFileFilter = QStringLiteral("テキストファイル(*.TXT)");
inline const QString SaveDialogTitle = QStringLiteral("ファイルを保存");
inline const QString OpenDialogTitle = QStringLiteral("ファイルを取り込む");

struct FileRequest {
    QString title;
    QString filter = TextFileFilter;
    QString initialFolder;  // empty: the user's home
    QString proposedName;   // save dialog only
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A notice with one OK button, titled "Morvaline".
    virtual void notice(const QString& text) = 0;
    // A Yes/No question titled "Morvaline", No being the default; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // The chosen full path, or nothing when cancelled. The save dialog never asks
    // about overwriting: the program asks itself.
    virtual std::optional<QString> chooseSaveFile(const FileRequest& request) = 0;
    virtual std::optional<QString> chooseOpenFile(const FileRequest& request) = 0;
};

}  // namespace morv

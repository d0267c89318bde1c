#pragma once
// The keys of the commands that Tab does not reach. The window binds them;
// the controls carry them in their accessible descriptions, and F1 lists
// them all.

#include <QString>

namespace morv::keys {

inline const QString Help = QStringLiteral("F1");
inline const QString NextPage = QStringLiteral("Ctrl+PageDown");
inline const QString PreviousPage = QStringLiteral("Ctrl+PageUp");
inline const QString Delete = QStringLiteral("Alt+D");
inline const QString SelectedList = QStringLiteral("Alt+L");
inline const QString UntickAll = QStringLiteral("Alt+U");
inline const QString Weight = QStringLiteral("Alt+W");
inline const QString Calculator = QStringLiteral("Alt+C");
inline const QString SetSalt = QStringLiteral("Alt+S");
inline const QString AddSalt = QStringLiteral("Alt+A");
inline const QString SideCalculator = QStringLiteral("Alt+K");
inline const QString Scale = QStringLiteral("Alt+B");
inline const QString AddToExtra = QStringLiteral("Alt+T");
inline const QString Back = QStringLiteral("Esc");
inline const QString FoodTable = QStringLiteral("Ctrl+F");

// What a screen reader says after a control's name.
inline const QString RowTick = QStringLiteral("行の入力欄でCtrl+Space");
inline const QString RowMenu = QStringLiteral("行の入力欄でアプリケーションキーまたはShift+F10");
inline const QString RowBoxTick = QStringLiteral("Ctrl+Spaceでチェック");
inline const QString RowBoxMenu = QStringLiteral("アプリケーションキーまたはShift+F10で行のボタンのメニュー");
inline const QString RowBox = RowBoxTick + QStringLiteral("、") + RowBoxMenu;
inline const QString Pages = QStringLiteral("Ctrl+PageDownで次のページ、Ctrl+PageUpで前のページ");

// One plain list of every key, for F1.
QString ListText();

}  // namespace morv::keys

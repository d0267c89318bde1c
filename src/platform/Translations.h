#pragma once
class QCoreApplication;

namespace morv {
// Loads Qt's own Japanese texts (Yes/No/OK buttons, file dialogs), whatever the
// system locale. Returns false when the translation is not installed.
bool LoadJapaneseQtTexts(QCoreApplication& app);
}  // namespace morv

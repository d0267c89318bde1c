#include "ui/Shortcuts.h"

namespace morv {

QString keys::ListText() {
    const std::pair<const QString&, const char*> lines[] = {
        {Help, "この一覧"},
        {NextPage, "次のページ（品目、塩分一覧、品名一覧）"},
        {PreviousPage, "前のページ（品目、塩分一覧、品名一覧）"},
        {Delete, "削除"},
        {SelectedList, "品名一覧"},
        {UntickAll, "チェック外す"},
        {Weight, "重量換算"},
        {Calculator, "調味料"},
        {SetSalt, "塩分設定"},
        {AddSalt, "塩分加算"},
        {SideCalculator, "計（調味料塩分計算）"},
        {Scale, "倍（その他の塩分計算）"},
        {AddToExtra, "追加（その他の塩分計算）"},
        {Back, "戻る、閉じる、キャンセル"},
        {FoodTable, "食品成分表から選ぶ（品目の行）"},
    };
    QString text = QStringLiteral("キー操作の一覧\r\n\r\n");
    // Return is the grid's and the calculator's "enter" and never presses a button.
    text += QStringLiteral("Space：フォーカスのあるボタンを押す（Returnでは押されません）\r\n");
    for (const auto& [key, what] : lines)
        text += key + QStringLiteral("：") + QString::fromUtf8(what) + QStringLiteral("\r\n");
    text += QStringLiteral("\r\n品目と調味料の行の入力欄で：\r\n");
    text += QStringLiteral("Ctrl+Space：その行のチェック（品名を全選択しているときはSpaceでも）\r\n");
    text += QStringLiteral(
        "アプリケーションキー、Shift+F10：x2〜1/5、塩分換算、リセット、食品成分表のメニュー\r\n");
    text += QStringLiteral("\r\n品名一覧のページ欄で：\r\n");
    text += QStringLiteral("下矢印キー：品名へ（矢印キーで移動、省略された品名は全体を表示）\r\n");
    text += QStringLiteral("\r\nその他の塩分計算（計）の入力欄で：\r\n");
    text += QStringLiteral("アプリケーションキー、Shift+F10：x2〜1/5、倍、追加、閉じるのメニュー\r\n");
    text +=
        QStringLiteral("\r\n食品成分表：「日本食品標準成分表2020年版（八訂）」（文部科学省）を加工して作成");
    return text;
}

}  // namespace morv

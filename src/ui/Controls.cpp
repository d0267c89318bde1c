#include "ui/Controls.h"

#include "platform/core/Dialogs.h"

#include "ui/Colours.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv {

void RefuseSecondPoint(Dialogs& dialogs) { dialogs.notice(QStringLiteral("すでに小数点が入力されています")); }

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& rect,
                  Qt::Alignment align) {
    auto* label = new QLabel(parent);
    // Captions may be stored or typed text: markup in them is shown as typed,
    // never rendered (nor an image loaded).
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    label->setObjectName(name);
    label->setGeometry(rect);
    label->setAlignment(align);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, const QRect& rect,
                        Qt::FocusPolicy focus) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(rect);
    button->setFocusPolicy(focus);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* MakeBox(QWidget* parent, const QString& name, const QRect& rect) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(rect);
    return box;
}

QFrame* MakePanel(QWidget* parent, const QString& name, const QRect& rect) {
    auto* frame = new QFrame(parent);
    SetUpPanel(frame, name);
    frame->setGeometry(rect);
    return frame;
}

void SetUpPanel(QFrame* frame, const QString& name) {
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);
    SetBackground(frame, colour::ButtonFace());
}

QFont WindowFont() { return QFont(QStringLiteral("Noto Sans CJK JP"), 9); }

void MakeBold(QWidget* widget, int points) {
    QFont font = widget->font();
    if (points > 0) font.setPointSize(points);
    font.setBold(true);
    widget->setFont(font);
}

void SpeakAmount(QLabel* label, const QString& name, const QString& remark) {
    label->setAccessibleName(QStringLiteral("%1 %2 グラム%3").arg(name, label->text(), remark));
}

QString ArrayName(const char* base, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(index);
}

}  // namespace morv

#include "ui/Controls.h"

#include "platform/core/Dialogs.h"

#include "ui/Colours.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace morv {

namespace {

class BarLabel final : public QLabel {
public:
    BarLabel(QWidget* parent, QList<QColor> alsoAround)
        : QLabel(parent), alsoAround_(std::move(alsoAround)) {}

    QColor outline() const {
        QList<QColor> around = alsoAround_;
        const QWidget* panel = parentWidget();
        around << panel->palette().color(panel->backgroundRole());
        return BarEdge(Background(this), around);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (width() < 1 || height() < 1) return;
        QPainter painter(this);
        painter.setPen(outline());
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    QList<QColor> alsoAround_;
};

}  // namespace

QLabel* MakeBar(QWidget* parent, const QString& name, const QRect& rect, QList<QColor> alsoAround) {
    auto* bar = new BarLabel(parent, std::move(alsoAround));
    bar->setTextFormat(Qt::PlainText);
    bar->setObjectName(name);
    bar->setGeometry(rect);
    bar->setAlignment(Qt::AlignCenter);
    return bar;
}

QColor BarOutline(const QLabel* bar) {
    const auto* edged = dynamic_cast<const BarLabel*>(bar);
    return edged ? edged->outline() : QColor();
}

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

// A screen too small for the window at the current scale: the window takes the
// free area and its content scrolls, so nothing is out of reach.

#include "platform/Covered.h"
#include "platform/EscapeKey.h"
#include "ui/ShowTogether.h"
#include "ui/Twips.h"
#include "window/Form1.h"

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace morv {

QWidget* Form1::host() { return content_ ? content_ : this; }

void Form1::FitToScreen() {
    if (const QScreen* screen = this->screen()) FitInto(screen->availableGeometry().size());
}

void Form1::FitInto(const QSize& available) {
    const QSize full(TwipsToPixels(WindowWidthTwips), TwipsToPixels(WindowHeightTwips));
    // Room for the title bar, which the free area still has to hold.
    const QSize room = available - QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
    if (content_ || (room.width() >= full.width() && room.height() >= full.height())) return;

    QWidget* focus = focusWidget();
    content_ = new QWidget;
    content_->setObjectName(QStringLiteral("Content"));
    content_->setFixedSize(full);
    ExposeOnlyUncovered(content_);
    scroller_ = new QScrollArea(this);
    scroller_->setObjectName(QStringLiteral("Scroller"));
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setFocusPolicy(Qt::NoFocus);
    scroller_->setWidget(content_);
    // Every control moves into the content in its stacking order, keeping its
    // place, its visibility and its place in the tab order.
    const QObjectList before = children();
    for (QObject* object : before) {
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget || widget == scroller_ || widget->isWindow()) continue;
        const QRect place = widget->geometry();
        const bool hidden = widget->isHidden();
        widget->setParent(content_);
        widget->setGeometry(place);
        widget->setVisible(!hidden);
    }
    // Escape from the content reaches the panels where they now are.
    PassEscapeToTopPanel(content_);

    const QSize size = full.boundedTo(room).expandedTo(QSize(320, 240));
    setMinimumSize(QSize(320, 240));
    setMaximumSize(full + QSize(scroller_->verticalScrollBar()->sizeHint().width(),
                                scroller_->horizontalScrollBar()->sizeHint().height()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller_);
    resize(size);
    scroller_->show();
    layout->activate();
    // Not a move between controls: the box keeps its selection and its role.
    if (focus) focus->setFocus(Qt::ActiveWindowFocusReason);
    // Whatever takes the focus is scrolled into view, also when a handler
    // moves it.
    // The whole box, not only its text cursor (which is all that
    // ensureWidgetVisible shows of a box), with what is read with it; when
    // that is more than the view holds, the box alone.
    connect(qApp, &QApplication::focusChanged, scroller_, [this](QWidget*, QWidget* now) {
        if (!now || !content_->isAncestorOf(now)) return;
        const int margin = 6;
        const QSize view = scroller_->viewport()->size() - QSize(2 * margin, 2 * margin);
        QRect area = AreaToShow(now, content_);
        if (area.width() > view.width() || area.height() > view.height())
            area = QRect(now->mapTo(content_, QPoint(0, 0)), now->size());
        scroller_->ensureVisible(area.center().x(), area.center().y(), area.width() / 2 + margin,
                                 area.height() / 2 + margin);
    });
    if (const QScreen* screen = this->screen()) move(screen->availableGeometry().topLeft());
}

}  // namespace morv

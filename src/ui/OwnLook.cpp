#include "ui/OwnLook.h"

#include "ui/Colours.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QStyle>
#include <QTimer>
#include <QWidget>

namespace morv {

namespace {

class LookKeeper final : public QObject {
public:
    explicit LookKeeper(QWidget* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
        restore();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::ThemeChange:
            case QEvent::PaletteChange:
            case QEvent::ApplicationPaletteChange:
            case QEvent::StyleChange:
                // Once the change has reached every widget, and not for the
                // events this very restoring sends.
                if (watched == window_ && !restoring_ && !pending_) {
                    pending_ = true;
                    QTimer::singleShot(0, this, [this] { restore(); });
                }
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void restore() {
        pending_ = false;
        restoring_ = true;
        if (!IsProgramStyle(QApplication::style())) QApplication::setStyle(NewProgramStyle());
        // A style sheet from the desktop's settings would paint over every colour.
        if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
            app && !app->styleSheet().isEmpty())
            app->setStyleSheet(QString());
        ReapplyColours(window_);
        restoring_ = false;
    }

    QWidget* window_;
    bool restoring_ = false;
    bool pending_ = false;
};

}  // namespace

void KeepOwnLook(QWidget* window) { new LookKeeper(window); }

}  // namespace morv

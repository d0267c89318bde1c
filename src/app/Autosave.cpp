#include "app/Autosave.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace morv {

Autosave::Autosave(std::function<void()> save, std::function<void()> saveNow, QObject* parent)
    : QObject(parent), save_(std::move(save)), saveNow_(std::move(saveNow)) {
    setObjectName(QStringLiteral("Autosave"));
    timer_.setObjectName(QStringLiteral("AutosaveTimer"));
    timer_.setSingleShot(true);
    timer_.setInterval(DelayMs);
    timer_.setParent(this);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (!stopped_) save_();
    });
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
            timer_.stop();
            if (!stopped_) saveNow_();
        });
    }
}

void Autosave::changed() {
    if (!stopped_) timer_.start();
}

void Autosave::stop() {
    stopped_ = true;
    timer_.stop();
}

}  // namespace morv

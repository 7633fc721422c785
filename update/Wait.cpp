#include "update/Wait.h"

#include "platform/Forms.h"

#include <QTimer>

TWait::TWait(QWidget *parent) : QLabel(parent), FTimer(new QTimer(this)) {
    setAlignment(Qt::AlignCenter);
    FTimer->setInterval(1000);
    connect(FTimer, &QTimer::timeout, this, [this] { Tick(); });
}

bool TWait::Running() const {
    return FTimer->isActive();
}

void TWait::Start() {
    FLeft = FSeconds;
    setText(QString::number(FLeft));
    FTimer->start();
}

void TWait::Stop() {
    FTimer->stop();
}

void TWait::Tick() {
    if (--FLeft > 0) {
        setText(QString::number(FLeft));
        return;
    }
    FLeft = 0;
    FTimer->stop();
    setText(tr("Timeout"));
    CallEvent(OnTimeout, this);
}

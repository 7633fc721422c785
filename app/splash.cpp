#include "app/splash.h"

#include "app/Identity.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

TSplashScreen *SplashScreen = nullptr;

TSplashScreen::TSplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setFixedSize(326, 194);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    Panel1 = new TPanel(this);
    Panel1->setGeometry(rect());
    Panel1->SetBevelOuter(bvSpace);
    Panel1->SetBevelInner(bvLowered);
    Panel1->SetBorderWidth(3);
    Panel2 = new TPanel(Panel1);
    Panel2->setGeometry(5, 5, 316, 184);
    Panel2->SetBevelOuter(bvNone);
    Panel2->SetColor(Qt::white);
    Image1 = new QLabel(Panel2);
    Image1->setGeometry(1, 1, 314, 182);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(QPixmap::fromImage(SplashPicture()));

    Timer1 = new QTimer(this);
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this,
            [this] { Guard(this, [this] { Timer1Timer(Timer1); }); });

    qApp->installEventFilter(this);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void TSplashScreen::Timer1Timer(QObject *) {
    Timer1->stop();
    close();
}

bool TSplashScreen::eventFilter(QObject *watched, QEvent *event) {
    if (watched != this && watched->isWidgetType()) {
        auto *w = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && w->isWindow() && w->isModal() && isVisible() &&
            !FSteppedAsideFor) {
            FSteppedAsideFor = w;
            hide();
        } else if (event->type() == QEvent::Hide && w == FSteppedAsideFor) {
            FSteppedAsideFor = nullptr;
            if (Timer1->isActive())
                show();
        }
    }
    return QWidget::eventFilter(watched, event);
}

#include "platform/Forms.h"

#include "platform/Dialogs.h"
#include "platform/Language.h"

#include <QPainter>
#include <QProxyStyle>
#include <QSvgRenderer>
#include <QTimer>
#include <QWidget>
#include <typeinfo>

namespace {

// What reaches the handler when the thrown object is not an exception class at all.
class TUnknownException : public std::exception {
public:
    const char *what() const noexcept override { return "Unknown exception"; }
};

// The style's tool tip delay, set by the application's hint pause.
class THintPauseStyle : public QProxyStyle {
public:
    explicit THintPauseStyle(int pause) : FPause(pause) {}
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay)
            return FPause;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    int FPause;
};

constexpr const char *ShowHintProperty = "ShowHint";

// An exception on its way from the handler that threw it to the application's error path.
class TExceptionEvent : public QEvent {
public:
    static QEvent::Type Kind() {
        static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kind;
    }
    TExceptionEvent(QObject *sender, std::exception_ptr e, QString key)
        : QEvent(Kind()), Sender(sender), Error(std::move(e)), Key(std::move(key)) {}
    QPointer<QObject> Sender;
    std::exception_ptr Error;
    QString Key;
};

} // namespace

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {
    UseLanguage(*this, MessagesLocaleName());
    connect(this, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive)
            CallEvent(OnActivate, this);
    });
}

TApplication *Application() {
    return qobject_cast<TApplication *>(QCoreApplication::instance());
}

void TApplication::SetHintPause(int milliseconds) {
    FHintPause = milliseconds;
    setStyle(new THintPauseStyle(milliseconds));
}

void TApplication::HandleException(QObject *Sender, const std::exception &E) {
    if (OnException) {
        try {
            OnException(Sender, E);
            return;
        } catch (const std::exception &) {
            // The handler failed in turn: fall back to the plain report of the first error
            // rather than let a second exception end the program.
        }
    }
    MessageDlg(QString::fromUtf8(E.what()), mtError, mbOK);
}

namespace {
// What tells two errors apart: their kind and their message.
QString ExceptionKey(const std::exception_ptr &E) {
    try {
        std::rethrow_exception(E);
    } catch (const std::exception &e) {
        return QString::fromUtf8(typeid(e).name()) + u'|' + QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("?");
    }
}
} // namespace

void TApplication::PostException(QObject *Sender, std::exception_ptr E) {
    // One user action can fail the same way twice before the error path runs (a box left by a
    // click whose own handler recalculates with the same inputs): the user hears of it once.
    const QString key = ExceptionKey(E);
    if (FPendingExceptions.contains(key))
        return;
    FPendingExceptions.insert(key);
    postEvent(this, new TExceptionEvent(Sender, std::move(E), key));
}

void PostException(QObject *Sender, std::exception_ptr E) noexcept {
    try {
        if (TApplication *app = Application()) {
            app->PostException(Sender, std::move(E));
            return;
        }
        std::rethrow_exception(E);
    } catch (const std::exception &e) {
        qCritical("Unhandled exception: %s", e.what());
    } catch (...) {
        qCritical("Unhandled exception");
    }
}

void TApplication::customEvent(QEvent *event) {
    if (event->type() != TExceptionEvent::Kind())
        return QApplication::customEvent(event);
    auto *posted = static_cast<TExceptionEvent *>(event);
    FPendingExceptions.remove(posted->Key);
    try {
        std::rethrow_exception(posted->Error);
    } catch (const std::exception &e) {
        HandleException(posted->Sender, e);
    } catch (...) {
        HandleException(posted->Sender, TUnknownException());
    }
}

// The last line of defence: an exception that unwound through Qt after all (a handler called
// without Guard) is still reported rather than ending the program.
bool TApplication::notify(QObject *receiver, QEvent *event) {
    try {
        Dispatch(receiver, event);
        if (event->type() == QEvent::ToolTip && receiver->isWidgetType() &&
            !ShowsHint(static_cast<QWidget *>(receiver)))
            return true; // this control shows its hint only in the status bar
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        HandleException(receiver, e);
    } catch (...) {
        HandleException(receiver, TUnknownException());
    }
    return true; // the event was dealt with, by the handler of the error
}

// Application-wide hooks that watch the events going by.
void TApplication::Dispatch(QObject *, QEvent *event) {
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::MouseMove:
    case QEvent::ToolTipChange:
        // The hint is read once the event has been handled (a mouse-move handler may change
        // the hint of the control under the mouse), and at most once per batch of events.
        if (!FHintUpdatePending) {
            FHintUpdatePending = true;
            QTimer::singleShot(0, this, [this] { UpdateHint(); });
        }
        break;
    default:
        break;
    }
}

void TApplication::UpdateHint() {
    FHintUpdatePending = false;
    QString hint;
    for (QWidget *w = widgetAt(QCursor::pos()); w; w = w->parentWidget()) {
        if (!w->toolTip().isEmpty()) {
            hint = w->toolTip();
            break;
        }
        if (w->isWindow())
            break;
    }
    if (hint == FHint)
        return;
    FHint = hint;
    CallEvent(OnHint, this);
}

void SetShowHint(QWidget *control, bool show) {
    control->setProperty(ShowHintProperty, show);
}

bool ShowsHint(const QWidget *control) {
    for (const QWidget *w = control; w; w = w->parentWidget()) {
        const QVariant v = w->property(ShowHintProperty);
        if (v.isValid())
            return v.toBool();
        if (w->isWindow())
            break;
    }
    return true;
}

QString GetLongHint(const QString &hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QFont DesignFont(const QString &family, int points, bool bold) {
    // The system finds some font for any name, so the stand-in is chosen here, not left to it.
    QFont font(family == QLatin1String("MS Sans Serif") ? QStringLiteral("Arial") : family);
    font.setPixelSize((points * 96 + 36) / 72);
    font.setBold(bold);
    return font;
}

namespace {
QImage Render(QSvgRenderer &renderer, const QSize &size) {
    if (!renderer.isValid())
        return {};
    const QSize design = size.isValid() ? size : renderer.defaultSize();
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QImage image(qCeil(design.width() * ratio), qCeil(design.height() * ratio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(design)));
    return image;
}
} // namespace

QImage DesignPicture(const QString &name, const QSize &size) {
    QSvgRenderer renderer(name);
    return Render(renderer, size);
}

QImage DesignPicture(const QByteArray &svg, const QSize &size) {
    QSvgRenderer renderer(svg);
    return Render(renderer, size);
}

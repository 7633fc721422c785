#include "app/URL.h"

#include "platform/ShellApi.h"

#include <QApplication>
#include <QWidget>

const TMakerAddresses &MakerAddresses() {
    static const TMakerAddresses addresses = [] {
        TMakerAddresses a;
        a.Host = QStringLiteral("www.tamblewick.example");
        a.HomePage = a.Host + QStringLiteral("/");
        a.ProductPage = a.Host + QStringLiteral("/Vormex/Vormex.htm");
        a.FreewarePage = a.Host + QStringLiteral("/freeware.htm");
        a.SuggestPage = a.Host + QStringLiteral("/suggest.htm");
        a.SupportMail = QStringLiteral("support@tamblewick.example");
        a.SuggestionsMail = QStringLiteral("suggestions@tamblewick.example");
        return a;
    }();
    return addresses;
}

QString URLPrefix(TURLType type) {
    switch (type) {
    case utFile:
        return QStringLiteral("file://");
    case utFtp:
        return QStringLiteral("ftp://");
    case utGopher:
        return QStringLiteral("gopher://");
    case utHttp:
        break;
    case utHttps:
        return QStringLiteral("https://");
    case utMailto:
        return QStringLiteral("mailto:");
    case utNews:
        return QStringLiteral("news:");
    case utTelnet:
        return QStringLiteral("telnet:");
    case utWais:
        return QStringLiteral("wais:");
    }
    return QStringLiteral("http://");
}

TURL::TURL(QObject *owner) : QObject(owner) {}

bool TURL::Open() {
    if (FURL.isEmpty())
        return false;
    const QString address = Address();
    if (address.size() > MaxAddressLength)
        return false;
    return ShellExecute(OwnerWindow(), QStringLiteral("open"), address, QString(), QString(),
                        SW_SHOWNOACTIVATE) > 32;
}

// The window that owns this link, or else the program's active window.
QWidget *TURL::OwnerWindow() const {
    for (QObject *o = parent(); o; o = o->parent())
        if (o->isWidgetType())
            return static_cast<QWidget *>(o)->window();
    return QApplication::activeWindow();
}

#include "platform/Forms.h"

#include "platform/Dialogs.h"

namespace {
// What reaches the handler when the thrown object is not an exception class at all.
class TUnknownException : public std::exception {
public:
    const char *what() const noexcept override { return "Unknown exception"; }
};
} // namespace

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

TApplication *Application() {
    return qobject_cast<TApplication *>(QCoreApplication::instance());
}

void TApplication::HandleException(QObject *Sender, const std::exception &E) {
    if (OnException)
        OnException(Sender, E);
    else
        MessageDlg(QString::fromUtf8(E.what()), mtError, mbOK);
}

bool TApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        HandleException(receiver, e);
    } catch (...) {
        HandleException(receiver, TUnknownException());
    }
    return true; // the event was dealt with, by the handler of the error
}

#include "tests/support/DialogRecorder.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

ModalWatchdog::ModalWatchdog(int LimitMilliseconds) : FLimit(LimitMilliseconds) {
    FTimer.setInterval(50);
    connect(&FTimer, &QTimer::timeout, this, &ModalWatchdog::Check);
    FTimer.start();
}

void ModalWatchdog::Check() {
    QWidget *top = QApplication::activeModalWidget();
    if (top != FTop) {
        FTop = top;
        FSince.start();
        return;
    }
    if (!top || FSince.elapsed() < FLimit)
        return;
    const QString name =
        QStringLiteral("%1 \"%2\"").arg(top->metaObject()->className(), top->windowTitle());
    FTop = nullptr;
    QTest::qFail(qPrintable("a dialog nobody answered: " + name), __FILE__, __LINE__);
    if (auto *dialog = qobject_cast<QDialog *>(top))
        dialog->reject();
    else
        top->close();
}

DialogRecorder::DialogRecorder() {
    FPrevious = SetDialogResponder([this](const TDialogRequest &r) { return Respond(r); });
}

DialogRecorder::~DialogRecorder() {
    SetDialogResponder(FPrevious);
}

QStringList DialogRecorder::Texts() const {
    QStringList texts;
    for (const TDialogRequest &r : FRequests)
        texts << r.Text;
    return texts;
}

int DialogRecorder::Respond(const TDialogRequest &request) {
    FRequests.append(request);
    if (FAction)
        FAction(request);
    if (!FAnswers.isEmpty())
        return FAnswers.takeFirst();
    if (request.Buttons & mbOK)
        return mrOk;
    return request.Buttons & mbYes ? mrYes : mrCancel;
}

#include "tests/support/DialogRecorder.h"

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

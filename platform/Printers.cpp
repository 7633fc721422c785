#include "platform/Printers.h"

#include <QCoreApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <cups/cups.h>

QPrinter *Printer() {
    static QPrinter printer(QPrinter::HighResolution);
    return &printer;
}

namespace {

bool PrintsToSystem(const QPrinter &printer) {
    return printer.outputFormat() == QPrinter::NativeFormat && printer.outputFileName().isEmpty();
}

bool SchedulerReachable() {
    http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                5000, nullptr);
    if (!http)
        return false;
    httpClose(http);
    return true;
}

} // namespace

bool FindPrinter() {
    QPrinter &printer = *Printer();
    if (!printer.outputFileName().isEmpty())
        return true;
    // The same choice as at start: the default printer, else the first one there is.
    if (printer.outputFormat() != QPrinter::NativeFormat)
        printer.setOutputFormat(QPrinter::NativeFormat);
    return PrintsToSystem(printer) && !printer.printerName().isEmpty();
}

// Qt hands the finished job to CUPS as the last step of ending it and keeps no account of
// the answer; the answer stays with CUPS as the last error of this thread.
void CheckJobTaken(const QPrinter &printer) {
    if (!PrintsToSystem(printer) || printer.printerName().isEmpty())
        return;
    const ipp_status_t status = cupsLastError();
    if (status <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return;
    QString reason = QString::fromUtf8(cupsLastErrorString()).trimmed();
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    // A failed connection leaves only the system's error text: name what it means.
    if (!SchedulerReachable())
        reason = QCoreApplication::translate("TPrinter", "the print service cannot be reached (%1)")
                     .arg(reason);
    throw EPrinter(
        QCoreApplication::translate("TPrinter", "the printer \"%1\" did not take the job: %2.")
            .arg(printer.printerName(), reason)
            .toStdString());
}

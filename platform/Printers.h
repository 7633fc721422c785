// The program's printer: the one printer every print job and the printer setup share.
#pragma once

#include "platform/SysUtils.h"

class QPrinter;

// Created at first use, on the system's default printer; with no printer installed, the
// printer setup can still choose output to a PDF file.
QPrinter *Printer();

// When the program's printer has neither a printer nor a file (none was installed when it was
// made or last looked for), looks the system's default printer up again, so that a printer
// added since then is found. True when the program's printer now prints somewhere.
bool FindPrinter();

// A print job that could not be started or written; the message names the cause.
class EPrinter : public Exception {
public:
    using Exception::Exception;
};

// After a job on `printer` has ended: raises EPrinter with the print system's reason when the
// job was not taken (the scheduler stopped, the queue deleted or not accepting jobs). A job
// written to a file is judged by the file alone.
void CheckJobTaken(const QPrinter &printer);

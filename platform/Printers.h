// The program's printer: the one printer every print job and the printer setup share.
#pragma once

#include "platform/SysUtils.h"

class QPrinter;

// Created at first use, on the system's default printer; with no printer installed, the
// printer setup can still choose output to a PDF file.
QPrinter *Printer();

// A print job that could not be started or written; the message names the cause.
class EPrinter : public Exception {
public:
    using Exception::Exception;
};

#pragma once
// Printing. A window asks for a printer (the print dialog, which also offers
// printing to a PDF file) and then paints its pages on it. In test mode no
// dialog is shown: the PDF file to print to comes from a queue filled in
// advance ("" stands for Cancel).
#include <QString>
#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace Printing {

// Asks the user where to print. nullptr when the user cancelled.
std::unique_ptr<QPrinter> choosePrinter(const QString &documentName);

// Paints the document on the printer; `paint` draws every page (starting new
// pages on the device itself). A PDF file is written under a temporary name
// and put in place only when it is complete, so a failed print never leaves
// half a file. Raises a run-time error with a description a user can act on
// when the printer cannot be started (no printer, a PDF file that cannot be
// written) or fails while printing.
void print(QPrinter &printer, const std::function<void(QPainter &, QPagedPaintDevice &)> &paint);

// Test support.
void setNextPdfFile(const QString &path);
int dialogCount();
void clear();

} // namespace Printing

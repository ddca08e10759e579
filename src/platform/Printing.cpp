#include "Printing.h"

#include "FileOps.h"
#include "Platform.h"
#include "RuntimeError.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <QTemporaryFile>

namespace {
QStringList g_files;
int g_dialogs = 0;

RuntimeError notPrinted(const QString &why) { return RuntimeError(Err::PathFileAccess, why); }

// A name beside the target for the file being written.
QString temporaryBeside(const QString &target)
{
    const QFileInfo info(target);
    QTemporaryFile reserve(info.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX.pdf").arg(info.fileName())));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        return QString();
    return reserve.fileName();
}
} // namespace

namespace Printing {

std::unique_ptr<QPrinter> choosePrinter(const QString &documentName)
{
    ++g_dialogs;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(documentName);
    if (Platform::testMode()) {
        const QString file = g_files.isEmpty() ? QString() : g_files.takeFirst();
        if (file.isEmpty())
            return nullptr;
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
        return printer;
    }
    QPrintDialog dialog(printer.get(), QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("Print"));
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return printer;
}

void print(QPrinter &printer, const std::function<void(QPainter &, QPagedPaintDevice &)> &paint)
{
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    const QString target = printer.outputFileName();
    QString temporary;
    if (toFile) {
        const QFileInfo info(target);
        if (info.isDir())
            throw notPrinted(QStringLiteral("%1 is a folder, not a file name for the PDF file.").arg(target));
        if (FileOps::isDenied(target) || !FileOps::canCreateIn(info.absolutePath()))
            throw notPrinted(QStringLiteral("The PDF file %1 cannot be written: the folder %2 is missing or cannot be written to.")
                                 .arg(target, info.absolutePath()));
        temporary = temporaryBeside(target);
        if (temporary.isEmpty())
            throw notPrinted(QStringLiteral("The PDF file %1 cannot be written.").arg(target));
        printer.setOutputFileName(temporary);
    }
    auto discard = [&] {
        if (!temporary.isEmpty()) {
            QFile::remove(temporary);
            printer.setOutputFileName(target);
        }
    };

    QPainter painter;
    if (!painter.begin(&printer)) {
        discard();
        throw notPrinted(toFile ? QStringLiteral("The PDF file %1 cannot be written.").arg(target)
                                : QStringLiteral("The printer %1 cannot be started. Check that it is connected and switched on, "
                                                 "or choose another printer.").arg(printer.printerName()));
    }
    try {
        paint(painter, printer);
    } catch (...) {
        painter.end();
        discard();
        throw;
    }
    const bool ended = painter.end();
    if (!ended || printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted) {
        discard();
        throw notPrinted(QStringLiteral("Printing to %1 failed.").arg(toFile ? target : printer.printerName()));
    }
    if (toFile) {
        try {
            FileOps::replace(temporary, target);
        } catch (const RuntimeError &) {
            discard();
            throw notPrinted(QStringLiteral("The PDF file %1 cannot be written.").arg(target));
        }
        printer.setOutputFileName(target);
    }
}

void setNextPdfFile(const QString &path) { g_files.append(path); }
int dialogCount() { return g_dialogs; }
void clear()
{
    g_files.clear();
    g_dialogs = 0;
}

} // namespace Printing

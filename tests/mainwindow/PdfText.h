#pragma once
// Reading a printed PDF file back as text, page by page (pdftotext).
#include <QProcess>
#include <QStringList>
#include <QtTest>

namespace PdfText {

// The text of each page; empty when the file could not be read (the test
// then fails on the missing pages).
inline QStringList pages(const QString &pdf)
{
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!run.waitForFinished(30000) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0) {
        qWarning("pdftotext could not read %s: %s", qPrintable(pdf), run.readAllStandardError().constData());
        return {};
    }
    QStringList out = QString::fromUtf8(run.readAllStandardOutput()).split(QLatin1Char('\f'));
    // pdftotext ends every page with a form feed.
    if (!out.isEmpty() && out.last().trimmed().isEmpty())
        out.removeLast();
    return out;
}

} // namespace PdfText

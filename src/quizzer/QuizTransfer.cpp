#include "QuizTransfer.h"

#include "platform/DateText.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString NullValue = QStringLiteral("#NULL#");

bool isBlankOrTab(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

} // namespace

namespace QuizTransfer {

QString fileName() { return QStringLiteral("quiz.out"); }

QString filePath() { return QDir(Platform::driveAFolder()).filePath(fileName()); }

QString importPath() { return Platform::findFileNoCase(Platform::driveAFolder(), fileName()); }

QString encodeValue(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return NullValue;
    QString text = value.toString();
    // The reader takes one value per line, and text only: each line break
    // and each control character no text holds becomes one blank.
    text.replace(CrLf, QStringLiteral(" "));
    for (QChar &c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || TextCodec::isBinaryControl(c))
            c = QLatin1Char(' ');
    }
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QByteArray encode(const QVariant &title, const QDate &date, const QVector<QPair<QVariant, QVariant>> &pairs)
{
    QString out = encodeValue(title) + CrLf + encodeValue(DateText::mmddyyyy(date)) + CrLf;
    for (const auto &pair : pairs)
        out += encodeValue(pair.first) + CrLf + encodeValue(pair.second) + CrLf;
    return out.toUtf8();
}

void write(const QString &path, const QByteArray &bytes) { FileOps::writeFile(path, bytes); }

QString fromWindows1252(const QByteArray &bytes) { return TextCodec::fromWindows1252(bytes); }

QString decodeText(const QByteArray &bytes) { return TextCodec::decodeUtf8OrAnsi(bytes); }

QStringList splitLines(const QString &text) { return TextCodec::splitLines(text); }

QString decodeValue(const QString &line)
{
    qsizetype first = 0, last = line.size() - 1;
    while (first <= last && isBlankOrTab(line.at(first)))
        ++first;
    while (last >= first && isBlankOrTab(line.at(last)))
        --last;
    const qsizetype length = last - first + 1;
    if (length >= 2 && line.at(first) == QLatin1Char('"') && line.at(last) == QLatin1Char('"'))
        return line.mid(first + 1, length - 2);
    if (line.mid(first, length) == NullValue)
        return QString();
    return line;
}

bool decode(const QByteArray &bytes, Quiz &quiz)
{
    quiz = Quiz();
    const QStringList lines = splitLines(decodeText(bytes));
    if (lines.isEmpty())
        return false;
    quiz.title = decodeValue(lines.at(0));
    if (lines.size() > 1)
        quiz.date = decodeValue(lines.at(1));
    qsizetype i = 2;
    for (; i + 1 < lines.size(); i += 2) {
        const QString question = decodeValue(lines.at(i));
        const QString answer = decodeValue(lines.at(i + 1));
        if (question.isEmpty() || answer.isEmpty())
            ++quiz.emptyPairs;
        else
            quiz.pairs.append({question, answer});
    }
    quiz.danglingQuestion = i < lines.size();
    return true;
}

Quiz read(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw RuntimeError(Err::FileNotFound, QStringLiteral("The quiz file %1 was not found.").arg(QDir::toNativeSeparators(path)));
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        throw RuntimeError(Err::PathFileAccess, QStringLiteral("The quiz file %1 could not be read%2.")
                                                     .arg(QDir::toNativeSeparators(path),
                                                          info.isDir() ? QStringLiteral(": it is a folder")
                                                                       : QStringLiteral(": ") + file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw RuntimeError(Err::PathFileAccess,
                           QStringLiteral("The quiz file %1 could not be read: %2.").arg(QDir::toNativeSeparators(path), file.errorString()));
    if (const QString why = TextCodec::whyNotText(bytes); !why.isEmpty())
        throw RuntimeError(Err::General, QStringLiteral("The file %1 is not a quiz transfer file: %2.").arg(QDir::toNativeSeparators(path), why));
    Quiz quiz;
    if (!decode(bytes, quiz))
        throw RuntimeError(Err::General, QStringLiteral("The quiz file %1 is empty: it holds no quiz.").arg(QDir::toNativeSeparators(path)));
    return quiz;
}

} // namespace QuizTransfer

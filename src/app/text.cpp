#include "app/text.h"

#include <QStringDecoder>
#include <QTextBoundaryFinder>

namespace platform {

QStringList lines(QStringView text) {
    QStringList result;
    forEachLine(text, [&](QStringView line) {
        result.append(line.toString());
        return true;
    });
    return result;
}

QStringList splitAll(const QString& text, const QString& separator) {
    return text.split(separator, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

qsizetype firstGraphemeUtf8Length(QStringView text) {
    if (text.isEmpty())
        return 0;
    // Look at a short prefix first and widen it only while the cluster runs to its end:
    // a line may be megabytes long, its first cluster rarely more than a few code units.
    qsizetype window = 16;
    for (;;) {
        const qsizetype length = qMin(window, text.size());
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), length);
        const qsizetype end = finder.toNextBoundary();
        if ((end > 0 && end < length) || length == text.size())
            return text.first(end > 0 ? end : length).toUtf8().size();
        window *= 4;
    }
}

std::optional<QString> decodeUtf8(const QByteArray& bytes) {
    // Stateless: a sequence cut off at the end of the bytes is an error, not a wait for more.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> decodeShiftJis(const QByteArray& bytes) {
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace platform

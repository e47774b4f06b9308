// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formats/kvtml.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace formats {

namespace {

// kvtml nests a few levels (lessons in lessons); far deeper is an attack on the reader.
constexpr int deepest = 64;
// Texts are kept for identifier ids below this; KWordQuiz and Parley number them from 0.
constexpr int idCount = 8;

bool saysEnglish(const QString& label) {
    static const QRegularExpression english(QStringLiteral("^(en([_-].*)?|english)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return english.match(label).hasMatch();
}

bool saysJapanese(const QString& label) {
    static const QRegularExpression japanese(QStringLiteral("^(ja([_-].*)?|japanese|日本語)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    return japanese.match(label).hasMatch();
}

QString oneLine(QString text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\n\u0085\u2028\u2029]"));
    const auto isBreak = [](QChar c) {
        return c == u'\r' || c == u'\n' || c == u'\u0085' || c == u'\u2028' || c == u'\u2029';
    };
    // The expression only where it has work: a hundred thousand entries have none.
    if (std::any_of(text.cbegin(), text.cend(), isBreak))
        text.replace(lineBreak, QStringLiteral(" "));
    return text;
}

QString xmlError(const QXmlStreamReader& reader) {
    const QString where = QString::number(reader.lineNumber()) + QStringLiteral("行目");
    if (reader.error() == QXmlStreamReader::PrematureEndOfDocumentError)
        return QStringLiteral("kvtmlファイルが途中で終わっています（%1）。").arg(where);
    return QStringLiteral("kvtmlファイルのXMLが正しくありません（%1）。").arg(where);
}

} // namespace

KvtmlRead readKvtml(const QString& text) {
    QXmlStreamReader reader(text);
    // Identifier ids in order, and which of them say English and Japanese.
    QList<int> ids;
    int english = -1, japanese = -1;
    int identifier = -1, translation = -1, translationDepth = 0;
    // The texts of the entries, idCount a entry by identifier id; the one being read is the
    // last. One flat list: an entry of its own would cost an allocation each.
    QList<QString> texts;
    qsizetype entryCount = 0;
    int originalAndTranslations = 0; // version 1: the texts of the entry so far
    int depth = 0;
    // The element whose characters are being gathered, by its depth (0: none), what they are
    // and, for a text, whose.
    int gathering = 0;
    bool isLabel = false;
    int textId = -1;
    QString gathered;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            // Entities could expand to gigabytes; kvtml never declares any.
            if (!reader.entityDeclarations().isEmpty())
                return {{},
                        QStringLiteral("kvtmlファイルに使えない実体宣言（ENTITY）が"
                                       "含まれています。")};
            break;
        case QXmlStreamReader::EntityReference:
            return {{},
                    QStringLiteral("kvtmlファイルに読み込めない実体参照「&%1;」が含まれています。")
                        .arg(reader.name())};
        case QXmlStreamReader::StartElement: {
            if (++depth > deepest)
                return {{},
                        QStringLiteral("kvtmlファイルの要素の入れ子が深すぎます（%1行目）。")
                            .arg(reader.lineNumber())};
            if (gathering)
                break;
            const QStringView name = reader.name();
            const auto gather = [&](bool label, int id) {
                gathering = depth;
                isLabel = label;
                textId = id;
                gathered.clear();
            };
            if (name == u"identifier") {
                identifier = reader.attributes().value(QLatin1String("id")).toInt();
                ids.append(identifier);
            } else if ((name == u"name" || name == u"locale") && identifier >= 0) {
                gather(true, identifier);
            } else if (name == u"entry" || name == u"e") {
                texts.resize(++entryCount * idCount);
                originalAndTranslations = 0;
                translation = -1;
            } else if (name == u"translation" && entryCount > 0) {
                translation = reader.attributes().value(QLatin1String("id")).toInt();
                translationDepth = depth;
            } else if (name == u"text" && translation >= 0 && depth == translationDepth + 1) {
                // Only the translation's own text, not a conjugation's or a comparison's.
                gather(false, translation);
            } else if ((name == u"o" || name == u"t") && entryCount > 0) {
                // Version 1: the original, then the translations; the first entry names their
                // languages in "l".
                const int id = name == u"o" ? 0 : qMax(1, originalAndTranslations);
                ++originalAndTranslations;
                if (entryCount == 1 && !ids.contains(id)) {
                    ids.append(id);
                    const QString language =
                        reader.attributes().value(QLatin1String("l")).toString();
                    if (english < 0 && saysEnglish(language))
                        english = id;
                    else if (japanese < 0 && saysJapanese(language))
                        japanese = id;
                }
                gather(false, id);
            }
            break;
        }
        case QXmlStreamReader::Characters:
            if (gathering)
                gathered += reader.text();
            break;
        case QXmlStreamReader::EndElement:
            if (depth-- == gathering) {
                gathering = 0;
                if (!isLabel) {
                    if (textId >= 0 && textId < idCount)
                        texts[(entryCount - 1) * idCount + textId] = gathered;
                } else if (english < 0 && saysEnglish(gathered.trimmed()))
                    english = textId;
                else if (japanese < 0 && saysJapanese(gathered.trimmed()))
                    japanese = textId;
            } else if (reader.name() == u"identifier") {
                identifier = -1;
            } else if (reader.name() == u"translation") {
                translation = -1;
            }
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        return {{}, xmlError(reader)};
    // Otherwise the first identifier is English and the second Japanese.
    if (ids.size() < 2)
        ids = {0, 1};
    for (const int id : std::as_const(ids)) {
        if (english < 0 && id != japanese)
            english = id;
        else if (japanese < 0 && id != english)
            japanese = id;
    }
    KvtmlRead read;
    read.entries.reserve(entryCount);
    const auto side = [&](qsizetype entry, int id) {
        return id >= 0 && id < idCount ? oneLine(texts[entry * idCount + id]) : QString();
    };
    for (qsizetype i = 0; i < entryCount; ++i)
        read.entries.append({side(i, english), side(i, japanese)});
    if (read.entries.isEmpty())
        read.error = QStringLiteral("kvtmlファイルに単語が1つも含まれていません。");
    return read;
}

QByteArray writeKvtml(const QList<KvtmlEntry>& entries, const QString& title) {
    // Written by hand, in KWordQuiz's own layout: QXmlStreamWriter takes seconds for a million
    // entries, as it hands each piece to a device on its own.
    const auto escaped = [](QByteArrayView text, QByteArray& out) {
        for (const char c : text) {
            if (c == '&')
                out += "&amp;";
            else if (c == '<')
                out += "&lt;";
            else if (c == '>')
                out += "&gt;";
            else if (uchar(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out += c; // other control characters cannot stand in XML 1.0
        }
    };
    QByteArray out;
    out.reserve(entries.size() * 240 + 1024);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" "
           "\"http://edu.kde.org/kvtml/kvtml2.dtd\">\n<kvtml version=\"2.0\" >\n  "
           "<information>\n    <generator>verbolin</generator>\n    <title>";
    escaped(title.toUtf8(), out);
    out += "</title>\n  </information>\n  <identifiers>\n    <identifier id=\"0\" >\n      "
           "<name>English</name>\n      <locale>en</locale>\n    </identifier>\n    <identifier "
           "id=\"1\" >\n      <name>Japanese</name>\n      <locale>ja</locale>\n    "
           "</identifier>\n  </identifiers>\n  <entries>\n";
    for (qsizetype i = 0; i < entries.size(); ++i) {
        out += "    <entry id=\"" + QByteArray::number(i) + "\" >\n";
        for (int id = 0; id < 2; ++id) {
            out += id == 0 ? "      <translation id=\"0\" >\n        <text>"
                           : "      <translation id=\"1\" >\n        <text>";
            escaped((id == 0 ? entries[i].english : entries[i].japanese).toUtf8(), out);
            out += "</text>\n      </translation>\n";
        }
        out += "    </entry>\n";
    }
    out += "  </entries>\n</kvtml>\n";
    return out;
}

} // namespace formats

// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formats/kvtml.h"

#include "platform/text.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <charconv>
#include <vector>

namespace formats {

namespace {

// kvtml nests a few levels (lessons in lessons); far deeper is an attack on the reader.
constexpr int deepest = 64;

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

// The text as one line of UTF-8: each line break becomes one space.
QByteArray oneLine(QStringView text) {
    QByteArray utf8 = text.toUtf8();
    // Only where there is work: a hundred thousand entries have none.
    const auto isBreak = [](QChar c) {
        return c == u'\r' || c == u'\n' || c == u'\u0085' || c == u'\u2028' || c == u'\u2029';
    };
    if (std::any_of(text.cbegin(), text.cend(), isBreak)) {
        static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\n\u0085\u2028\u2029]"));
        utf8 = text.toString().replace(lineBreak, QStringLiteral(" ")).toUtf8();
    }
    return utf8;
}

// Whether the XML declaration names an encoding other than UTF-8.
bool declaresOtherEncoding(QByteArrayView utf8) {
    if (!utf8.startsWith("<?xml"))
        return false;
    static const QRegularExpression encoding(
        QStringLiteral("\\sencoding\\s*=\\s*[\"']\\s*(utf-?8\\s*[\"'])?"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match =
        encoding.match(QString::fromUtf8(utf8.first(qMax(utf8.indexOf("?>"), qsizetype(0)))));
    return match.hasMatch() && !match.hasCaptured(1);
}

QString xmlError(const QXmlStreamReader& reader) {
    const QString where = QString::number(reader.lineNumber()) + QStringLiteral("行目");
    if (reader.error() == QXmlStreamReader::PrematureEndOfDocumentError)
        return QStringLiteral("kvtmlファイルが途中で終わっています（%1）。").arg(where);
    return QStringLiteral("kvtmlファイルのXMLが正しくありません（%1）。").arg(where);
}

} // namespace

KvtmlRead readKvtml(QByteArrayView utf8) {
    // The bytes are UTF-8 whatever the file's declaration says (the import decoded them); the
    // reader would follow a declaration of another encoding, so such a file is given as text.
    // Otherwise the reader takes the bytes from a device, a few kilobytes at a time: given
    // them at once, it would decode the whole file into one string first.
    QXmlStreamReader reader;
    QBuffer bytes;
    if (declaresOtherEncoding(utf8)) {
        reader.addData(platform::textOfUtf8(utf8));
    } else {
        bytes.setData(QByteArray::fromRawData(utf8.data(), utf8.size()));
        bytes.open(QIODevice::ReadOnly);
        reader.setDevice(&bytes);
    }
    // Identifier ids in order, and which of them say English and Japanese.
    QList<int> ids;
    int english = -1, japanese = -1;
    int identifier = -1, translation = -1, translationDepth = 0;
    // Each text of an entry, with its entry and identifier id, in file order.
    struct Text {
        qsizetype entry;
        int id;
        QByteArray utf8;
    };
    std::vector<Text> texts;
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
                gathered.resize(0); // keeps its room
            };
            if (name == u"identifier") {
                identifier = reader.attributes().value(QLatin1String("id")).toInt();
                ids.append(identifier);
            } else if ((name == u"name" || name == u"locale") && identifier >= 0) {
                gather(true, identifier);
            } else if (name == u"entry" || name == u"e") {
                ++entryCount;
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
                    if (textId >= 0)
                        texts.push_back({entryCount - 1, textId, oneLine(gathered)});
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
    read.entries.resize(entryCount);
    // A later text of the same entry and identifier stands.
    for (Text& text : texts) {
        if (text.id == english)
            read.entries[text.entry].english = std::move(text.utf8);
        else if (text.id == japanese)
            read.entries[text.entry].japanese = std::move(text.utf8);
    }
    if (read.entries.isEmpty())
        read.error = QStringLiteral("kvtmlファイルに単語が1つも含まれていません。");
    return read;
}

namespace {

// Appends text with the characters XML gives a meaning escaped; the control characters XML 1.0
// cannot hold are left out. Whole runs at a time: most words have nothing to escape.
void appendEscaped(QByteArray& out, QByteArrayView text) {
    const char* run = text.data();
    const char* const end = run + text.size();
    for (const char* at = run; at < end; ++at) {
        const char c = *at;
        if (c != '&' && c != '<' && c != '>' &&
            (uchar(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r'))
            continue;
        out.append(run, at - run);
        run = at + 1;
        if (c == '&')
            out.append("&amp;");
        else if (c == '<')
            out.append("&lt;");
        else if (c == '>')
            out.append("&gt;");
    }
    out.append(run, end - run);
}

} // namespace

QByteArray kvtmlHead(const QString& title) {
    // Written by hand: QXmlStreamWriter takes seconds for a million entries, as it hands each
    // piece to a device on its own. An entry takes one line, not KWordQuiz's seven: the file
    // is then half the size, and as easy to read.
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE kvtml PUBLIC "
                     "\"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">\n<kvtml "
                     "version=\"2.0\" >\n  <information>\n    <generator>verbolin</generator>\n "
                     "   <title>";
    appendEscaped(out, title.toUtf8());
    out.append("</title>\n  </information>\n  <identifiers>\n    <identifier id=\"0\" >\n      "
               "<name>English</name>\n      <locale>en</locale>\n    </identifier>\n    "
               "<identifier id=\"1\" >\n      <name>Japanese</name>\n      <locale>ja</locale>\n "
               "   </identifier>\n  </identifiers>\n  <entries>\n");
    return out;
}

void appendKvtmlEntry(QByteArray& out, qsizetype id, QByteArrayView english,
                      QByteArrayView japanese) {
    char number[24];
    const auto written = std::to_chars(number, number + sizeof number, id);
    out.append("    <entry id=\"").append(number, written.ptr - number);
    out.append("\"><translation id=\"0\"><text>");
    appendEscaped(out, english);
    out.append("</text></translation><translation id=\"1\"><text>");
    appendEscaped(out, japanese);
    out.append("</text></translation></entry>\n");
}

QByteArrayView kvtmlTail() {
    return "  </entries>\n</kvtml>\n";
}

} // namespace formats

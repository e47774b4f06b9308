// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The import's line check: for any line, any of the three separators and either order it
// never crashes; a rejected line gets a message that names its number; an accepted line gives
// exactly two parts, free of the separator and of "$", that rejoin to the line with one
// separator in the chosen order. The check applied to the shared state (checkLine and the
// import's checkLineForSave) agrees with the decision and writes the saved line.
// The check on UTF-8 bytes agrees with the check on the decoded text: the same lines, the same
// decision, parts and message for each, and the same state, saved form and alert for the
// import's whole pass; the validator agrees with the strict decoder.
// The first input byte picks the separator (modulo 3) and the order (the next bit up).
#include "fuzz_input.h"

#include "app/app_delegate.h"
#include "app/text.h"
#include "import/import_options.h"
#include "import/line_check.h"

namespace {

constexpr qint64 lineNumber = 7;

void check(QStringView line, const QString& separator, qint64 sequenceCode) {
    const importer::LineDecision decision =
        importer::decideLine(line, separator, sequenceCode, lineNumber);
    const importer::LineVerdict verdict =
        importer::judgeLine(line, separator, sequenceCode, lineNumber);
    FUZZ_CHECK(decision.accepted == verdict.accepted);
    FUZZ_CHECK(decision.english == verdict.english && decision.japanese == verdict.japanese);
    FUZZ_CHECK(decision.message == verdict.message);

    if (decision.accepted) {
        FUZZ_CHECK(decision.message.isEmpty());
        FUZZ_CHECK(!decision.english.contains(separator) && !decision.japanese.contains(separator));
        FUZZ_CHECK(!decision.english.contains(u'$') && !decision.japanese.contains(u'$'));
        const QString& first = sequenceCode == 0 ? decision.english : decision.japanese;
        const QString& second = sequenceCode == 0 ? decision.japanese : decision.english;
        FUZZ_CHECK(first + separator + second == line);
    } else {
        FUZZ_CHECK(decision.english.isEmpty() && decision.japanese.isEmpty());
        FUZZ_CHECK(
            decision.message.startsWith(QString::number(lineNumber) + QStringLiteral("行目: ")));
    }

    // Both ways of applying the check to the shared state agree with the decision.
    importer::SEPARATOR = separator;
    AppDelegate state;
    state.SEQUENCE_CODE = sequenceCode;
    state.LINE_INDEX = lineNumber - 1;
    state.english_words = QStringList(lineNumber - 1, QString());
    state.japanese_words = QStringList(lineNumber - 1, QString());
    AppDelegate forSave = state;
    QString shown;
    QString shownForSave;
    FUZZ_CHECK(importer::checkLine(line, state, [&](const QString& m) { shown = m; }) ==
               decision.accepted);
    FUZZ_CHECK(importer::checkLineForSave(line, forSave, [&](const QString& m) {
                   shownForSave = m;
               }) == decision.accepted);
    FUZZ_CHECK(shown == decision.message && shownForSave == decision.message);
    FUZZ_CHECK(state.formal_list == forSave.formal_list);
    FUZZ_CHECK(state.LINE_INDEX == forSave.LINE_INDEX);
    if (decision.accepted) {
        FUZZ_CHECK(state.formal_list == decision.english + u'$' + decision.japanese + u'\n');
        FUZZ_CHECK(state.LINE_INDEX == lineNumber);
        FUZZ_CHECK(state.english_words.last() == decision.english &&
                   state.japanese_words.last() == decision.japanese);
    } else {
        FUZZ_CHECK(state.LINE_INDEX == 0 && state.english_words.isEmpty() &&
                   forSave.english_words.isEmpty() && state.formal_list.isEmpty());
    }
}

// What a whole pass leaves: the state, and the alert with the state it was shown over.
struct PassResult {
    qint64 lineIndex = 0;
    bool importOk = false;
    QString formalList;
    QString alert;
    QString formalListAtAlert;
    qint64 lineIndexAtAlert = -1;
};

void checkBytes(const QByteArray& utf8, const QString& separator, qint64 sequenceCode) {
    const QString text = platform::textOfUtf8(utf8);
    FUZZ_CHECK(text.toUtf8() == utf8);

    QList<QByteArrayView> byteLines;
    platform::forEachLineUtf8(utf8, [&](QByteArrayView line) {
        byteLines.append(line);
        return true;
    });
    const QStringList textLines = platform::lines(text);
    FUZZ_CHECK(byteLines.size() == textLines.size());
    const char separatorByte = char(separator[0].unicode());
    for (qsizetype i = 0; i < byteLines.size(); ++i) {
        FUZZ_CHECK(platform::textOfUtf8(byteLines[i]) == textLines[i]);
        const importer::LineDecision decision =
            importer::decideLine(textLines[i], separator, sequenceCode, i + 1);
        const importer::Utf8LineVerdict verdict =
            importer::judgeLineUtf8(byteLines[i], separatorByte, sequenceCode, i + 1);
        FUZZ_CHECK(verdict.accepted == decision.accepted);
        FUZZ_CHECK(verdict.message == decision.message);
        FUZZ_CHECK(verdict.english.toByteArray() == decision.english.toUtf8());
        FUZZ_CHECK(verdict.japanese.toByteArray() == decision.japanese.toUtf8());
    }

    importer::SEPARATOR = separator;
    const auto pass = [&](bool bytes) {
        PassResult result;
        AppDelegate state;
        state.SEQUENCE_CODE = sequenceCode;
        importer::IMPORT_OK = false;
        const importer::RejectionAlert alert = [&](const QString& message) {
            result.alert = message;
            result.formalListAtAlert = state.formal_list;
            result.lineIndexAtAlert = state.LINE_INDEX;
        };
        if (bytes) {
            QByteArray savedForm;
            importer::checkLinesForSaveUtf8(utf8, separatorByte, state, savedForm, alert);
            FUZZ_CHECK(state.formal_list.isEmpty());
            state.formal_list = platform::textOfUtf8(savedForm);
        } else {
            platform::forEachLine(text, [&](QStringView line) {
                return importer::checkLineForSave(line, state, alert);
            });
        }
        result.lineIndex = state.LINE_INDEX;
        result.importOk = importer::IMPORT_OK;
        result.formalList = state.formal_list;
        return result;
    };
    const PassResult fromText = pass(false);
    const PassResult fromBytes = pass(true);
    FUZZ_CHECK(fromBytes.lineIndex == fromText.lineIndex);
    FUZZ_CHECK(fromBytes.importOk == fromText.importOk);
    FUZZ_CHECK(fromBytes.formalList == fromText.formalList);
    FUZZ_CHECK(fromBytes.alert == fromText.alert);
    FUZZ_CHECK(fromBytes.formalListAtAlert == fromText.formalListAtAlert);
    FUZZ_CHECK(fromBytes.lineIndexAtAlert == fromText.lineIndexAtAlert);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const QString separator = importer::separatorForSegment(data[0] % 3);
    const qint64 sequenceCode = (data[0] / 3) % 2;
    check(fuzzUtf8(data + 1, size - 1), separator, sequenceCode);
    check(fuzzUtf16(data + 1, size - 1), separator, sequenceCode);

    const QByteArray raw(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const bool valid = platform::isValidUtf8(raw);
    FUZZ_CHECK(valid == platform::decodeUtf8(raw).has_value());
    // Invalid input is made valid the lenient way (U+FFFD for each bad sequence).
    checkBytes(valid ? raw : fuzzUtf8(data + 1, size - 1).toUtf8(), separator, sequenceCode);
    return 0;
}

// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The editor without its screen: edits and their undo, the import's check of each cell, and
// the save into a temporary store, with its failures (a full disk as RLIMIT_FSIZE, the folder
// gone, a file changed by another program).
#include "app/app_delegate.h"
#include "editor/list_save.h"
#include "editor/pair_table_model.h"
#include "stdout_capture.h"
#include "test_home.h"
#include "ui/pair_edit_commands.h"

#include <QDir>
#include <QTest>
#include <QUndoStack>

#include <sys/resource.h>

using editor::PairTableModel;
using Files = QMap<QString, QByteArray>;

static const QByteArray edited = "new$新しい\n";

static QList<qsizetype> rows(const QStringList& numbers) {
    QList<qsizetype> rows;
    for (const QString& number : numbers)
        rows.append(number.toInt());
    return rows;
}

class EditorTest : public QObject {
    Q_OBJECT
private slots:
    // Each edit is "s ROW COL TEXT" (set a cell), "a ROW" (add a pair) or "r ROW ROW..."
    // (remove rows); after them the list reads after, undoing them all gives back the list.
    void edits_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QByteArray>("after");
        const QByteArray list = "apple$りんご\r\nbook$本\nday$日";
        QTest::newRow("added and filled, one twice")
            << list << QStringList{u"a 1"_qs, u"s 1 0 ca"_qs, u"s 1 0 cat"_qs, u"s 1 1 猫"_qs}
            << "apple$りんご\ncat$猫\nbook$本\nday$日\n"_qba;
        QTest::newRow("a run and a row apart removed")
            << list << QStringList{u"a 3"_qs, u"r 3 0 1"_qs} << "day$日\n"_qba;
        // Nothing of a line is lost: a second "$" stays in the Japanese half, a line without
        // one is all English.
        QTest::newRow("lines the loader would cut")
            << "a$b$c\nplain\n"_qba << QStringList{u"s 1 1 x"_qs} << "a$b$c\nplain$x\n"_qba;
    }
    void edits() {
        QFETCH(QByteArray, list);
        QFETCH(QStringList, edits);
        QFETCH(QByteArray, after);
        PairTableModel model;
        model.setSavedForm(list);
        const QByteArray before = model.savedForm();
        QUndoStack undo;
        for (const QString& edit : edits) {
            const QStringList w = edit.split(u' ');
            if (w[0] == u"s")
                undo.push(new SetCellCommand(model, w[1].toInt(), w[2].toInt(), w.value(3)));
            else if (w[0] == u"a")
                undo.push(new AddPairCommand(model, w[1].toInt()));
            else
                undo.push(new RemovePairsCommand(model, rows(w.sliced(1))));
        }
        QCOMPARE(model.savedForm(), after);
        while (undo.canUndo())
            undo.undo();
        QCOMPARE(model.savedForm(), before);
        while (undo.canRedo())
            undo.redo();
        QCOMPARE(model.savedForm(), after);
    }

    // The cell that is marked, and the reason given for the pair in row 12.
    void cellCheck_data() {
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("japanese");
        QTest::addColumn<int>("bad");
        QTest::addColumn<QString>("reason");
        const int e = editor::EnglishBad, j = editor::JapaneseBad;
        QTest::newRow("good, a comma inside") << u"well, then"_qs << u"では"_qs << 0 << QString();
        QTest::newRow("Japanese first") << u"りんご"_qs << u"apple"_qs << e
                                        << u"12行目: 日本語と英語の順番が正しくありません。"_qs;
        QTest::newRow("a dollar") << u"a"_qs << u"1$"_qs << j
                                  << u"12行目: a,1$ には使用できない文字「$」が含まれています。"_qs;
        QTest::newRow("no English, a comma in Japanese")
            << QString() << u"あ,い"_qs << e
            << u"12行目: ;あ,い には英語か日本語が入っていません。"_qs;
        QTest::newRow("both empty") << QString() << QString() << (e | j)
                                    << u"12行目: , には英語か日本語が入っていません。"_qs;
        QTest::newRow("a pasted line break")
            << u"a\u2028b"_qs << u"x"_qs << e << u"12行目: 英語か日本語に改行が含まれています。"_qs;
    }
    void cellCheck() {
        QFETCH(QString, english);
        QFETCH(QString, japanese);
        QFETCH(int, bad);
        QFETCH(QString, reason);
        PairTableModel model;
        model.setSavedForm("x$y\n"_qba.repeated(12));
        model.setCell(11, PairTableModel::English, english);
        model.setCell(11, PairTableModel::Japanese, japanese);
        for (int column : {0, 1})
            QCOMPARE(model.index(11, column).data(PairTableModel::BadCellRole).toBool(),
                     (bad & (1 << column)) != 0);
        QCOMPARE(model.firstBadRow(), bad ? 11 : -1);
        QCOMPARE(model.saveBlocker(), reason);
        model.removePairs(0, 12);
        QCOMPARE(model.saveBlocker(), u"単語が1つもないため、保存できません。"_qs);
    }

    // The next pair holding the text, after the current row and round to it, in either half.
    void find() {
        PairTableModel model;
        model.setSavedForm("Apple$りんご\nbook$本\npineapple$パイナップル\n");
        QCOMPARE(model.find(u"apple"_qs, 0), 2);
        QCOMPARE(model.find(u"APPLE"_qs, 2), 0);
        QCOMPARE(model.find(u"本"_qs, 1), 1);
        QCOMPARE(model.find(u"x"_qs, 0), -1);
    }

    // A list opened from path (in the home folder, whose list folder holds mine.txt and whose
    // folder away holds fruit.txt) and saved; limit caps the size of a file written, "gone"
    // removes the list folder after mine.txt was opened. changes: what the save changed.
    void save_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<QString>("message");
        QTest::addColumn<Files>("changes");
        const QString mine = u"words_lists/mine.txt"_qs, fruit = u"words_lists/fruit.txt"_qs;
        const QString failed =
            u"単語リストを保存できませんでした。\nファイルに書き込めませんでした「"_qs;
        const qint64 any = qint64(RLIM_INFINITY);
        const Files saved{{fruit, edited}, {u"count.txt"_qs, "1"}};
        QTest::newRow("replaced") << mine << QString() << any << u"保存しました"_qs
                                  << Files{{mine, edited}};
        QTest::newRow("new, named") << QString() << u"fruit"_qs << any
                                    << u"保存しました。単語リスト名はfruit.txtです。"_qs << saved;
        QTest::newRow("from outside the store")
            << u"away/fruit.txt"_qs << QString() << any
            << u"保存しました。このリストは単語リストのフォルダの外にあるため、新しい単語リスト「fruit.txt」として保存しました。"_qs
            << saved;
        QTest::newRow("a full disk") << mine << QString() << qint64(4) << failed << Files{};
        QTest::newRow("the folder gone") << u"gone"_qs << QString() << any << failed << Files{};
    }
    void save() {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(qint64, limit);
        QFETCH(QString, message);
        QFETCH(Files, changes);
        TestHome home;
        home.makeListFolder();
        QDir(home.path()).mkdir(u"away"_qs);
        home.writeFile(u"words_lists/mine.txt"_qs, "old$古い\n");
        home.writeFile(u"away/fruit.txt"_qs, "old$古い\n");
        const bool gone = path == u"gone";
        editor::EditedList list;
        if (!path.isEmpty())
            list = editor::readList(home.path() + u'/' + (gone ? u"words_lists/mine.txt"_qs : path))
                       .list;
        if (gone)
            QDir(home.listFolder()).removeRecursively();
        QCOMPARE(editor::changedOnDisk(list), gone);
        Files expected = home.snapshot();
        expected.insert(changes);
        AppDelegate state;
        StdoutCapture out;
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const rlimit limited{rlim_t(limit), old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
        const editor::SaveOutcome outcome = editor::saveList(list, edited, name, state);
        ::setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY2(outcome.message.startsWith(message), qPrintable(outcome.message));
        QCOMPARE(home.snapshot(), expected);
        // A failure is printed too; a save leaves the editor on the file saved, as it is now.
        if (outcome.kind == editor::SaveOutcome::Kind::Failed)
            QVERIFY(QString::fromUtf8(out.bytes()).contains(u"ファイルに書き込めませんでした"_qs));
        else
            QVERIFY(list.path.endsWith(changes.lastKey()) && !editor::changedOnDisk(list));
    }
};

QTEST_GUILESS_MAIN(EditorTest)
#include "test_editor.moc"

// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "settings/playing_settings.h"
#include "setup/folder_listing.h"
#include "setup/list_deletion.h"
#include "setup/list_loading.h"
#include "setup/shuffle.h"
#include "stdout_capture.h"
#include "test_home.h"

#include <QtTest>

namespace {

// ~/words_lists holds a.txt (two pairs, written as a new list is), b.txt, .hidden and the
// folder x, which holds a name in Shift_JIS (as unzipping an archive made on Windows leaves
// it) and a link to ~/other, which holds o.txt.
struct Scene {
    TestHome home;
    AppDelegate delegate;
    setup::SetupScreen screen;
    QStringList wordsLists{QStringLiteral("earlier.txt")};
    const QString sjis = platform::decodeFileName("sj\x82\xa0.txt");

    Scene() {
        QDir(home.path()).mkpath(u"words_lists/x"_qs);
        QDir(home.path()).mkpath(u"other"_qs);
        const QString a = home.listFolder() + u"/a.txt"_qs;
        QVERIFY(platform::writeBytesAtomicNew(a, "apple$りんご\nbook$本\n").ok);
        // A list written new gets the permissions of any new file, not a temporary's.
        QVERIFY(QFileInfo(a).permissions() & QFile::ReadOther);
        QVERIFY(platform::writeBytesAtomicNew(home.listFolder() + u"/x/"_qs + sjis, "s$1\n").ok);
        for (const char* file : {"words_lists/b.txt", "words_lists/.hidden", "other/o.txt"})
            home.writeFile(QString::fromLatin1(file), "o$1\n");
        QVERIFY(QFile::link(home.path() + u"/other"_qs, home.listFolder() + u"/x/link"_qs));
    }
    // The temporary home cannot remove a name that is not UTF-8 itself.
    ~Scene() { platform::removeEntryWithin(home.listFolder(), home.listFolder() + u"/x"_qs, sjis); }

    // Every entry below the home folder, which the snapshot cannot name when it is not UTF-8.
    QStringList entries() const {
        QStringList all = home.snapshot().keys();
        if (platform::exists(home.listFolder() + u"/x/"_qs + sjis))
            all.append(u"words_lists/x/<sj>"_qs);
        return all;
    }

    // A path or location with the home folder as "~".
    QString relative(QString text) const {
        return text.replace(u"file://"_qs + home.path(), u"~"_qs).replace(home.path(), u"~"_qs);
    }

    // The lines printed, joined by spaces, each description of a failure as "!" and the path
    // it names.
    QString printed(StdoutCapture& out) const {
        static const QRegularExpression description(QStringLiteral(".*?「(.*?)」.*"));
        return relative(out.lines().replaceInStrings(description, u"!\\1"_qs).join(u' '));
    }
};

} // namespace

// The set-up screen's rules: loading a list, listing a folder, deleting an entry, shuffling.
class TestSetup : public QObject {
    Q_OBJECT

private slots:
    // Each case loads "my list#%.txt" of ~/words_lists, holding content (null: missing; "/":
    // a folder), over the pairs and the preview of an earlier load. pairs: "English$Japanese"
    // as loaded, or "unreadable". A list of one pair cannot start with four choices (mode 2).
    void load_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("pairs");
        QTest::addColumn<bool>("shuffle");
        QTest::addColumn<int>("mode");
        auto row = [](const char* name, const QByteArray& content, const char* pairs,
                      bool shuffle = false, int mode = 0) {
            QTest::newRow(name) << content << QString::fromUtf8(pairs) << shuffle << mode;
        };
        row("four choices of one pair", "z$1\n", "z$1", false, 2);
        row("four choices of two pairs", "a$1\nb$2\n", "a$1 b$2", false, 2);
        row("SHUFFLE on", "cat$猫\nbook$本\n", "book$本 cat$猫", true);
        row("every line end; halves missing",
            "a$1\r\nb$2\rc$3\xc2\x85$x\xe2\x80\xa8"
            "a$\xe2\x80\xa9\nwords\n$",
            "a$1 b$2 c$3 $x a$ $ words$ $");
        row("byte-order mark", "\xef\xbb\xbfz$1\n", "z$1");
        row("empty file", "", "");
        row("missing", QByteArray(), "unreadable");
        row("unreadable: a folder", "/", "unreadable");
        row("not UTF-8", "caf\xe9$x\n", "unreadable");
        row("cut-off UTF-8", "a$\xe3\x81", "unreadable");
    }
    void load() {
        QFETCH(QByteArray, content);
        QFETCH(QString, pairs);
        QFETCH(bool, shuffle);
        QFETCH(int, mode);
        Scene scene;
        const QString name = QStringLiteral("my list#%.txt");
        if (content == "/")
            QDir(scene.home.listFolder()).mkdir(name);
        else if (!content.isNull())
            scene.home.writeFile(u"words_lists/"_qs + name, content);
        words_lists_url() = QUrl::fromLocalFile(scene.home.listFolder());
        AppDelegate& delegate = scene.delegate;
        delegate.english_words = delegate.japanese_words = QStringList(3, u"old"_qs);
        delegate.SHUFFLE = shuffle;
        delegate.ANSWER_MODE = mode;
        scene.screen = {{name}, 0, {}, u"old"_qs, {}, false, {}};
        StdoutCapture out;
        setup::loadSelectedList(delegate, scene.screen);

        QStringList loaded;
        for (qsizetype i = 0;
             i < qMax(delegate.english_words.size(), delegate.japanese_words.size()); ++i)
            loaded.append(delegate.english_words.value(i) + u'$' +
                          delegate.japanese_words.value(i));
        // The location, then LINE_INDEX before each line, or each failed read's description.
        const bool readable = pairs != u"unreadable";
        QString printed = u"~/words_lists/my%20list%23%25.txt"_qs + (content == "/" ? "/" : "");
        for (qsizetype i = 0; i < loaded.size(); ++i)
            printed += u' ' + QString::number(i);
        if (!readable)
            printed += u" !~/words_lists/my list#%.txt"_qs.repeated(2);
        const QByteArray preview = content.startsWith('\xef') ? content.mid(3) : content;
        QCOMPARE((QStringList{loaded.join(u' '), QString::number(delegate.LINE_INDEX),
                              scene.screen.countText, scene.screen.preview, delegate.SELECTED_ITEM,
                              scene.printed(out), QString::number(scene.screen.startEnabled)}),
                 (QStringList{readable ? pairs : QString(), QString::number(loaded.size()),
                              u"全%1単語"_qs.arg(loaded.size()),
                              readable ? QString::fromUtf8(preview) : u"old"_qs, name, printed,
                              QString::number(readable && (mode != 2 || loaded.size() > 1))}));
        QCOMPARE(scene.screen.startToolTip().startsWith(u"4択"), mode == 2 && loaded.size() == 1);
    }

    // action: how ~/folder is listed (view: as the screen is first shown; normal: normal_path,
    // which always lists ~/words_lists, removed first where the row expects a failure; open:
    // through Open), or the answer to deleting the entry select from it (yes, no) after a.txt
    // was loaded ("yes:L": after loading a location ending in L). The screen shows a loaded
    // list, and its combo box holds "kept" and then select: a listing starts with "kept"
    // selected, a deletion with select ("": nothing). WORDS_LISTS holds "earlier.txt" and the
    // remembered folder is ~/other. expected: what was printed ("names": WORDS_LISTS on one
    // line) and the entries gone from the home folder; the combo box, sorted, with "*" and
    // the selected item. A listing shows the folder's location in the path text.
    void folder_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("select");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, const char* action, const char* folder, const char* select,
                      const char* expected) {
            QTest::newRow(name) << QString::fromUtf8(action) << QString::fromUtf8(folder)
                                << QString::fromUtf8(select) << QString::fromUtf8(expected);
        };
        row("view load", "view", "words_lists", "", "~/words_lists/ | .hidden a.txt b.txt kept x");
        row("view load, missing", "view", "gone", "", "~/gone !~/gone | kept");
        row("normal_path", "normal", "words_lists", "", "names | .hidden a.txt b.txt x");
        row("normal_path, missing: previous names", "normal", "words_lists", "",
            "!~/words_lists | earlier.txt");
        row("Open", "open", "other", "", "~/other/ | o.txt");
        row("Open, missing", "open", "gone", "", "~/gone !~/gone | ");

        row("Cancel", "no", "words_lists", "b.txt", " | *b.txt b.txt kept");
        row("YES before any load", "yes:", "words_lists", "b.txt", " | *b.txt b.txt kept");
        row("YES after loading a folder", "yes:x/", "words_lists", "b.txt", " | *b.txt b.txt kept");
        row("YES after loading a.txt", "yes", "words_lists", "b.txt", "words_lists/b.txt | kept");
        row("YES after loading A.TXT", "yes:A.TXT", "words_lists", "b.txt",
            "words_lists/b.txt | kept");
        row("a folder with its contents, not what links lead to", "yes", "words_lists", "x",
            "words_lists/x/ words_lists/x/link words_lists/x/<sj> | kept");
        row("no selection", "yes", "words_lists", "", " | kept");
        row("a name that is not UTF-8", "yes", "words_lists/x", "<sj>",
            "words_lists/x/<sj> | kept");
        row("a link, not its target", "yes", "words_lists/x", "link", "words_lists/x/link | kept");
        row("a missing entry", "yes", "words_lists", "gone.txt",
            "!~/words_lists/gone.txt | *gone.txt gone.txt kept");
        row("the parent", "yes", "words_lists", "..", "!~/words_lists/.. | *.. .. kept");
        row("outside words_lists", "yes", "other", "o.txt", "!~/other/o.txt | *o.txt kept o.txt");
        row("a folder elsewhere, through a link", "yes", "words_lists/x/link", "o.txt",
            "!~/words_lists/x/link/o.txt | *o.txt kept o.txt");
    }
    void folder() {
        QFETCH(QString, action);
        QFETCH(QString, folder);
        QFETCH(QString, select);
        QFETCH(QString, expected);
        Scene scene;
        setup::SetupScreen& screen = scene.screen;
        const QString path = scene.home.path() + u'/' + folder;
        const bool deleting = action.startsWith(u"yes") || action == u"no";
        if (action == u"normal" && expected.startsWith(u'!'))
            platform::removeEntryWithin(scene.home.path(), scene.home.path(), folder);
        words_lists_url() = QUrl::fromLocalFile(
            action == u"normal" || action == u"open" ? scene.home.path() + u"/other"_qs : path);
        scene.delegate.WORDS_LIST_FOR_GAME = (action + u":a.txt"_qs).section(u':', 1, 1);
        scene.delegate.english_words = {u"old"_qs};
        screen = {{u"kept"_qs}, 0, u"path"_qs, u"preview"_qs, u"全1単語"_qs, true, {}};
        if (!select.replace(u"<sj>"_qs, scene.sjis).isEmpty())
            screen.items.append(select);
        if (deleting)
            screen.selectedIndex = screen.items.indexOf(select);
        QStringList gone = scene.entries();
        QStringList questions;
        StdoutCapture out;
        if (action == u"view")
            setup::listOnViewLoad(screen, scene.wordsLists);
        else if (action == u"normal")
            setup::listDefaultFolder(screen, scene.wordsLists);
        else if (action == u"open")
            setup::listChosenFolder(screen, scene.wordsLists, QUrl::fromLocalFile(path));
        else
            setup::deleteSelected(scene.delegate, screen, [&](const QString& item) {
                questions.append(item);
                return action.startsWith(u"yes");
            });

        for (const QString& kept : scene.entries())
            gone.removeOne(kept);
        QStringList items = screen.items;
        if (screen.selectedIndex >= 0)
            items.append(u'*' + items.value(screen.selectedIndex));
        items.sort();
        const QString names = "[\"" + scene.wordsLists.join(QStringLiteral("\", \"")) + "\"]";
        const QString printed = scene.printed(out).replace(names, u"names"_qs);
        // Deleting asks about the selected entry alone, and a removal empties the preview; the
        // pairs, the count and the start button stay.
        const QString asked = deleting ? select : QString();
        QCOMPARE((QStringList{gone.join(u' ') + printed,
                              items.join(u' ').replace(scene.sjis, u"<sj>"_qs),
                              scene.relative(screen.pathText), questions.join(u'/'),
                              scene.delegate.SELECTED_ITEM, screen.preview,
                              screen.countText + scene.delegate.english_words.join(u'/') +
                                  QString::number(screen.startEnabled)}),
                 (expected.split(u" | "_qs) +
                  QStringList{deleting ? u"path"_qs
                                       : u"~/"_qs + folder + (QFileInfo(path).isDir() ? "/" : ""),
                              asked, asked, gone.isEmpty() ? u"preview"_qs : QString(),
                              u"全1単語old1"_qs}));
    }

    // Pair i is ("i", "語i"). A shuffle is one cycle through every pair, keeping pairs
    // together, and for a few pairs each of the (n-1)! cycles (cycles: how many; 0: too many
    // to count) comes out about equally often. 17 pairs and more go beyond the draws made
    // ahead.
    void shuffle_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("cycles");
        for (const int size : {1, 2, 3, 4, 17, 18, 33, 1000})
            QTest::addRow("%d pairs", size) << size << QList<int>{0, 1, 1, 2, 6}.value(size);
    }
    void shuffle() {
        QFETCH(int, size);
        QFETCH(int, cycles);
        const int each = 20000;
        QHash<QString, int> seen;
        for (int run = 0; run < qMax(each * cycles, 20); ++run) {
            AppDelegate delegate;
            for (int i = 0; i < size; ++i) {
                delegate.english_words.append(QString::number(i));
                delegate.japanese_words.append(u"語"_qs + QString::number(i));
            }
            setup::shuffle_words(delegate);
            // Each English word names the place of the next pair: the walk from pair 0 comes
            // back to it after visiting every pair, not sooner.
            qsizetype position = 0;
            for (int step = 1; step <= size; ++step) {
                const QString item = delegate.english_words.value(position);
                QCOMPARE(delegate.japanese_words.value(position), u"語"_qs + item);
                position = item.toInt();
                QCOMPARE(position == 0, step == size);
            }
            ++seen[delegate.english_words.join(u',')];
        }
        // Chi-square with at most 5 degrees of freedom: above 55 with probability < 1.3e-10.
        double chiSquare = 0;
        for (const int count : std::as_const(seen))
            chiSquare += double(count - each) * (count - each) / each;
        QVERIFY2(cycles == 0 || (seen.size() == cycles && chiSquare < 55.0),
                 qPrintable(u"%1 cycles, chi-square %2"_qs.arg(seen.size()).arg(chiSquare)));
    }

    // The play settings: only segment 1 chooses the other value (speech: only segment 0
    // turns it on; the answer mode: segments 1 and 2), whatever the field held, and the
    // segments then show it. A fresh start shows auto-shuffle on, English asked, speech off
    // and the arrow keys.
    void choices() {
        const auto shown = [](const AppDelegate& d) {
            return QList<int>({int(d.PLAYING_TYPE), d.SHUFFLE, d.SPEAK_AUTOMATICALLY,
                               int(d.ANSWER_MODE), settings::answerTypeSegment(d),
                               settings::autoShuffleSegment(d), settings::speechSegment(d),
                               settings::answerModeSegment(d)});
        };
        QCOMPARE(shown(AppDelegate()), QList<int>({0, 1, 0, 0, 0, 0, 1, 0}));
        using Segment = std::optional<int>;
        for (const auto& [segment, other, speak, mode] : {std::tuple{Segment(0), false, true, 0},
                                                          {Segment(1), true, false, 1},
                                                          {Segment(2), false, false, 2},
                                                          {Segment(3), false, false, 0},
                                                          {Segment(), false, false, 0}}) {
            AppDelegate delegate;
            delegate.PLAYING_TYPE = other ? 0 : 1;
            delegate.SHUFFLE = other;
            delegate.SPEAK_AUTOMATICALLY = !speak;
            delegate.ANSWER_MODE = mode == 1 ? 2 : 1;
            settings::answerMode(delegate, segment);
            settings::answerType(delegate, segment);
            settings::autoShuffle(delegate, segment);
            settings::speech(delegate, segment);
            QCOMPARE(shown(delegate),
                     QList<int>({other, !other, speak, mode, other, other, !speak, mode}));
        }
    }
};

QTEST_GUILESS_MAIN(TestSetup)
#include "test_setup.moc"

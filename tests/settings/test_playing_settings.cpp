// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "settings/playing_settings.h"

#include <QTest>

#include <optional>

// Only segment 1 chooses the other value; every other index, no selection and a sender
// without segments choose the default, whatever the field held before.
class TestPlayingSettings : public QObject {
    Q_OBJECT
private slots:
    void mapping_data();
    void mapping();
};

void TestPlayingSettings::mapping_data() {
    QTest::addColumn<std::optional<int>>("segment");
    QTest::addColumn<bool>("other");
    QTest::addColumn<bool>("speak"); // speech: only segment 0 turns it on
    QTest::newRow("segment 0") << std::optional<int>(0) << false << true;
    QTest::newRow("segment 1") << std::optional<int>(1) << true << false;
    QTest::newRow("segment 2") << std::optional<int>(2) << false << false;
    QTest::newRow("no selection") << std::optional<int>(-1) << false << false;
    QTest::newRow("no segments") << std::optional<int>() << false << false;
}

void TestPlayingSettings::mapping() {
    QFETCH(std::optional<int>, segment);
    QFETCH(bool, other);
    QFETCH(bool, speak);

    for (const bool before : {false, true}) {
        AppDelegate delegate;
        delegate.PLAYING_TYPE = before ? 1 : 0;
        delegate.SHUFFLE = !before;
        settings::answerType(delegate, segment);
        QCOMPARE(delegate.PLAYING_TYPE, other ? 1 : 0);
        QCOMPARE(delegate.SHUFFLE, !before); // each action writes its own field only
        settings::autoShuffle(delegate, segment);
        QCOMPARE(delegate.SHUFFLE, !other);
        QCOMPARE(delegate.PLAYING_TYPE, other ? 1 : 0);
        delegate.SPEAK_AUTOMATICALLY = before;
        settings::speech(delegate, segment);
        QCOMPARE(delegate.SPEAK_AUTOMATICALLY, speak);
        QCOMPARE(delegate.SHUFFLE, !other);
    }
}

QTEST_GUILESS_MAIN(TestPlayingSettings)
#include "test_playing_settings.moc"

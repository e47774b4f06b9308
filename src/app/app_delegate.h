// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QtGlobal>
#include <optional>

// The state every screen exchanges: one object for the whole run, plain fields that
// screens read and write directly. Nothing in it is saved.
struct AppDelegate {
    QList<qint64> ANSWER_VALUE; // per pair: 1 still to ask, 0 answered right
    bool SHUFFLE = true;        // shuffle a list when it is loaded for play
    qint64 PLAYING_TYPE = 0;    // 0: English asked, 1: Japanese asked
    qint64 LINE_INDEX = 0;      // pairs loaded (or lines accepted by an import)
    qint64 SEQUENCE_CODE = 0;   // import order: 0 English first, 1 Japanese first
    QStringList english_words;  // entry i of both arrays is one pair
    QStringList japanese_words;
    QString SELECTED_ITEM;            // name selected on the set-up screen
    QString formal_list;              // saved form of the list being imported
    std::optional<QString> add_words; // read and written by no screen
    qint64 COUNT = 0;                 // last number read from the counter file
    QString WORDS_LIST_FOR_GAME;      // location text of the list chosen for play

    bool SPEAK_AUTOMATICALLY = false; // the quiz says each English word as it appears
    qint64 ANSWER_MODE = 0; // 0: ← and → judged by the learner, 1: English typed, 2: one of four
};

// The current words-list folder: first the home folder's "words_lists", computed once on
// first use (a function-local static is initialised thread-safely), then whatever the
// set-up screen assigns.
QUrl& words_lists_url();

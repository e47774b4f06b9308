// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "setup/shuffle.h"

#include "app/app_delegate.h"
#include "platform/platform.h"

#include <array>
#include <utility>

namespace setup {

void shuffle_words(AppDelegate& delegate) {
    QStringList& english = delegate.english_words;
    QStringList& japanese = delegate.japanese_words;
    const qsizetype n = english.size();
    // Unpaired arrays cannot be moved in step; leaving them is the only safe choice.
    if (n < 2 || japanese.size() != n)
        return;
    // Step i swaps entry n - i with an entry drawn from 0 .. n - i - 1, never n - i itself:
    // that is what makes the permutation a single cycle.
    const auto draw = [n](qsizetype i) { return qsizetype(platform::randomBelow(quint64(n - i))); };
    // The draws do not depend on the swaps, so they are made a few steps ahead, in the same
    // order, and the entries they pick are fetched meanwhile: a million random accesses into
    // two large arrays would otherwise each wait on memory in turn.
    constexpr qsizetype ahead = 16;
    std::array<qsizetype, ahead> draws{};
    QString* const en = english.data();
    QString* const ja = japanese.data();
    const auto prepare = [&](qsizetype i) {
        const qsizetype j = draw(i);
        draws[size_t(i % ahead)] = j;
        __builtin_prefetch(en + j, 1);
        __builtin_prefetch(ja + j, 1);
    };
    for (qsizetype i = 1; i < n && i <= ahead; ++i)
        prepare(i);
    for (qsizetype i = 1; i < n; ++i) {
        const qsizetype k = n - i;
        const qsizetype j = draws[size_t(i % ahead)];
        if (i + ahead < n)
            prepare(i + ahead);
        std::swap(en[j], en[k]);
        std::swap(ja[j], ja[k]);
    }
}

} // namespace setup

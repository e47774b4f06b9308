#include "setup/shuffle.h"

#include "app/app_delegate.h"
#include "app/platform.h"

namespace setup {

void shuffle_words(AppDelegate& delegate) {
    QStringList& english = delegate.english_words;
    QStringList& japanese = delegate.japanese_words;
    const qsizetype n = english.size();
    // Unpaired arrays cannot be moved in step; leaving them is the only safe choice.
    if (n < 2 || japanese.size() != n)
        return;
    for (qsizetype i = 1; i < n; ++i) {
        const qsizetype k = n - i;
        // 0 .. k - 1, never k itself: that is what makes the permutation a single cycle.
        const auto j = qsizetype(platform::randomBelow(quint64(k)));
        english.swapItemsAt(j, k);
        japanese.swapItemsAt(j, k);
    }
}

} // namespace setup

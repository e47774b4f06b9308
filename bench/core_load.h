#pragma once

#include <QString>
#include <QStringList>

namespace bench {

// A list loaded for play, as the set-up screen's load leaves it (without the screen and
// without its diagnostics).
struct LoadedPairs {
    bool ok = false;
    QString preview;
    QStringList english;
    QStringList japanese;
};

// The core work of a load for play over the store's own functions: the whole file read once
// for the preview and once for the pairs, every line split at "$" into the two arrays, and
// the pairs shuffled in step (Sattolo's algorithm, the system's random source).
LoadedPairs loadForPlayCore(const QString& path);

} // namespace bench

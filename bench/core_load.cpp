#include "core_load.h"

#include "app/platform.h"
#include "app/text.h"
#include "store/list_file.h"

namespace bench {

LoadedPairs loadForPlayCore(const QString& path) {
    LoadedPairs loaded;
    platform::Result<QString> preview = platform::readUtf8(path);
    if (!preview.ok)
        return loaded;
    loaded.preview = std::move(preview.value);
    const platform::Result<QString> text = platform::readUtf8(path);
    if (!text.ok)
        return loaded;
    platform::forEachLine(text.value, [&](QStringView line) {
        const store::Pair pair = store::splitPair(line);
        loaded.japanese.append(pair.japanese.toString());
        loaded.english.append(pair.english.toString());
        return true;
    });
    const qsizetype n = loaded.english.size();
    for (qsizetype i = 1; i < n; ++i) {
        const qsizetype k = n - i;
        const qsizetype j = qsizetype(platform::randomBelow(quint64(k)));
        loaded.english.swapItemsAt(j, k);
        loaded.japanese.swapItemsAt(j, k);
    }
    loaded.ok = true;
    return loaded;
}

} // namespace bench

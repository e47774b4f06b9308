// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes a generated word list of a given size, for benchmarks and manual trials:
//   verbolin_make_word_list LINES OUTPUT [--saved] [--separator C] [--japanese-first] [--seed N]
#include "word_list_generator.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const auto usage = [] {
        std::fputs("usage: verbolin_make_word_list LINES OUTPUT [--saved] [--separator C] "
                   "[--japanese-first] [--seed N]\n",
                   stderr);
        return 2;
    };
    if (args.size() < 3)
        return usage();
    bool ok = false;
    const qint64 lines = args.at(1).toLongLong(&ok);
    if (!ok || lines < 0)
        return usage();
    bench::SourceLayout layout;
    bool saved = false;
    quint64 seed = 1;
    for (qsizetype i = 3; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--saved")) {
            saved = true;
        } else if (args.at(i) == QLatin1String("--japanese-first")) {
            layout.englishFirst = false;
        } else if (args.at(i) == QLatin1String("--separator") && i + 1 < args.size() &&
                   args.at(i + 1).size() == 1) {
            layout.separator = args.at(++i).at(0);
        } else if (args.at(i) == QLatin1String("--seed") && i + 1 < args.size()) {
            seed = args.at(++i).toULongLong(&ok);
            if (!ok)
                return usage();
        } else {
            return usage();
        }
    }
    bench::WordListGenerator generator(seed);
    const QByteArray bytes =
        saved ? generator.savedText(lines) : generator.sourceText(lines, layout);
    QFile out(args.at(2));
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()) {
        std::fprintf(stderr, "verbolin_make_word_list: %s\n", qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}

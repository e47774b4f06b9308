// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The start-up baseline: the least a Qt Widgets program with Japanese text does before its
// first window appears.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QLabel label(QStringLiteral("日本語の単語帳"));
    label.show();
    return QApplication::exec();
}

// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/app_delegate.h"
#include "platform/diagnostics.h"
#include "ui/accessible_look.h"
#include "ui/japanese_translations.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QIcon>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

// True when there is a display to open a window on: DISPLAY or WAYLAND_DISPLAY is set, or
// QT_QPA_PLATFORM names a platform explicitly (offscreen, for instance).
bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// While the application object connects to the display, Qt's messages are held back: a
// display that cannot be reached (a stale DISPLAY after ssh) ends in qFatal, which would
// abort with a core dump. The user gets one line instead, and status 1.
void displayUnreachable(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type != QtFatalMsg)
        return;
    std::fputs("verbolin: 画面に接続できませんでした(DISPLAY または WAYLAND_DISPLAY の画面が"
               "見つかりません)。デスクトップから起動してください。\n",
               stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char* argv[]) {
    if (!hasDisplay()) {
        std::fputs("verbolin: 表示できる画面がありません(DISPLAY も WAYLAND_DISPLAY も設定されて"
                   "いません)。デスクトップから起動してください。\n",
                   stderr);
        return 1;
    }

    // Nothing but the store outlives a run: Qt's own settings (the file dialog writes some)
    // and caches go to a folder that is removed at exit.
    QTemporaryDir scratch;
    if (scratch.isValid()) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.path() + QStringLiteral("/config")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(scratch.path() + QStringLiteral("/cache")));
    }

    // The icon lives in a static library, whose resources the linker drops unless named.
    Q_INIT_RESOURCE(verbolin);
    const QtMessageHandler qtMessages = qInstallMessageHandler(displayUnreachable);
    QApplication application(argc, argv);
    qInstallMessageHandler(qtMessages);
    QApplication::setApplicationName(QStringLiteral("verbolin"));
    QApplication::setApplicationDisplayName(QStringLiteral("Verbolin"));
    QApplication::setApplicationVersion(QStringLiteral(VERBOLIN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(VERBOLIN_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/verbolin.svg")));
    QApplication::setQuitOnLastWindowClosed(true);
    installJapaneseTranslations(application);
    applyAccessibleLook();

    AppDelegate delegate;
    MainWindow window(delegate);
    window.show();
    const int status = QApplication::exec();
    platform::flushDiagnostics();
    return status;
}

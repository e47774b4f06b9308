#include "app/app_delegate.h"
#include "app/diagnostics.h"
#include "app/start_screen.h"
#include "ui/japanese_translations.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QIcon>
#include <QSettings>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (!app::hasDisplay()) {
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
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, scratch.path());
    }

    // The icon lives in a static library, whose resources the linker drops unless named.
    Q_INIT_RESOURCE(verbolin);
    // A file-size limit (ulimit -f) must fail a write with EFBIG, which the store reports,
    // rather than kill the program in the middle of a save.
    std::signal(SIGXFSZ, SIG_IGN);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("verbolin"));
    QApplication::setApplicationDisplayName(QStringLiteral("Verbolin"));
    QApplication::setApplicationVersion(QStringLiteral(VERBOLIN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(VERBOLIN_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/verbolin.svg")));
    QApplication::setQuitOnLastWindowClosed(true);
    installJapaneseTranslations(application);

    AppDelegate delegate;
    MainWindow window(delegate);
    window.show();
    const int status = QApplication::exec();
    platform::flushDiagnostics();
    return status;
}

// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "xvfb_display.h"

#include "bench_context.h"

#include <QElapsedTimer>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

XvfbDisplay::XvfbDisplay() {
    // Xvfb picks a free display itself and writes its number to the descriptor we give it.
    int fds[2];
    if (::pipe(fds) != 0)
        fail(QStringLiteral("pipe failed"));
    server_ = ::fork();
    if (server_ < 0)
        fail(QStringLiteral("fork failed"));
    if (server_ == 0) {
        ::close(fds[0]);
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
        const QByteArray fd = QByteArray::number(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.constData(), "-nolisten", "tcp", "-screen", "0",
                 "1280x1024x24", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    QByteArray number;
    char c = 0;
    pollfd waiting{fds[0], POLLIN, 0};
    while (::poll(&waiting, 1, 10000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(fds[0]);
    if (number.isEmpty()) {
        stopServer();
        fail(QStringLiteral("Xvfb did not start (is the xvfb package installed?)"));
    }
    name_ = ':' + number;

    int screenNumber = 0;
    connection_ = xcb_connect(name_.constData(), &screenNumber);
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
        stopServer();
        fail(QStringLiteral("cannot connect to Xvfb on ") + QString::fromLatin1(name_));
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    root_ = screens.data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
}

XvfbDisplay::~XvfbDisplay() {
    if (connection_)
        xcb_disconnect(connection_);
    stopServer();
}

void XvfbDisplay::stopServer() {
    if (server_ > 0) {
        ::kill(server_, SIGTERM);
        ::waitpid(server_, nullptr, 0);
    }
    server_ = -1;
}

void XvfbDisplay::discardEvents() {
    xcb_flush(connection_);
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_))
        std::free(event);
}

bool XvfbDisplay::waitForTopLevelMap(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            bool mapped = false;
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                mapped = map->event == root_ && !map->override_redirect;
            }
            std::free(event);
            if (mapped)
                return true;
        }
        if (xcb_connection_has_error(connection_))
            return false;
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            return false;
        pollfd waiting{xcb_get_file_descriptor(connection_), POLLIN, 0};
        ::poll(&waiting, 1, int(left));
    }
}

} // namespace bench

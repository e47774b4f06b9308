// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

#include <sys/types.h>
#include <xcb/xcb.h>

namespace bench {

// A private Xvfb server for the life of the object, and a connection to it that watches the
// root window for top-level windows being mapped (no window manager runs, so a program's
// window is a direct child of the root).
class XvfbDisplay {
public:
    XvfbDisplay(); // throws when Xvfb cannot start
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    // ":N", for DISPLAY.
    const QByteArray& name() const { return name_; }

    // Drops the events seen so far.
    void discardEvents();
    // Waits until a top-level, not override-redirect window is mapped; false after
    // timeoutMs milliseconds without one.
    bool waitForTopLevelMap(int timeoutMs);

private:
    void stopServer();

    pid_t server_ = -1;
    QByteArray name_;
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
};

} // namespace bench

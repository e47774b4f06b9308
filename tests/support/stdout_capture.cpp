// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "stdout_capture.h"

#include "platform/diagnostics.h"

#include <cstdio>
#include <unistd.h>

StdoutCapture::StdoutCapture(Reading reading) : reading_(reading) {
    platform::flushDiagnostics();
    std::fflush(stdout);
    if (!file_.open())
        qFatal("cannot open a capture file");
    saved_ = ::dup(STDOUT_FILENO);
    ::dup2(file_.handle(), STDOUT_FILENO);
}

StdoutCapture::~StdoutCapture() {
    platform::flushDiagnostics();
    std::fflush(stdout);
    ::dup2(saved_, STDOUT_FILENO);
    ::close(saved_);
}

QByteArray StdoutCapture::bytes() {
    if (reading_ == FlushFirst)
        platform::flushDiagnostics();
    std::fflush(stdout);
    QFile reader(file_.fileName());
    if (!reader.open(QIODevice::ReadOnly))
        return {};
    return reader.readAll();
}

QStringList StdoutCapture::lines() {
    QString text = QString::fromUtf8(bytes());
    if (text.endsWith(u'\n'))
        text.chop(1);
    if (text.isEmpty())
        return {};
    return text.split(u'\n');
}

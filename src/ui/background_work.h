// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QEventLoop>
#include <QGuiApplication>
#include <QThread>

#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

// Runs work on a thread of its own and gives back its result. Meanwhile the window is painted
// and moved as ever, but keys and clicks wait (a busy cursor says so): reading and checking a
// file of a gigabyte takes seconds. work must touch nothing the window's thread does.
template <typename Work> std::invoke_result_t<Work> inBackground(Work&& work) {
    std::optional<std::invoke_result_t<Work>> result;
    QEventLoop loop;
    const std::unique_ptr<QThread> thread(
        QThread::create([&result, &work] { result.emplace(std::forward<Work>(work)()); }));
    // Queued to this thread: a quit sent before the loop runs is taken when it does.
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    QGuiApplication::restoreOverrideCursor();
    return std::move(*result);
}

// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "child_process.h"

#include "bench_context.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace bench {

pid_t startChild(const QString& program, const QStringList& arguments,
                 const QHash<QByteArray, QByteArray>& set) {
    std::vector<QByteArray> argStorage{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        argStorage.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& arg : argStorage)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    std::vector<QByteArray> envStorage;
    for (char** entry = environ; *entry; ++entry) {
        const QByteArray variable(*entry);
        if (!set.contains(variable.left(variable.indexOf('='))))
            envStorage.push_back(variable);
    }
    for (auto it = set.constBegin(); it != set.constEnd(); ++it)
        if (!it.value().isNull())
            envStorage.push_back(it.key() + '=' + it.value());
    std::vector<char*> envp;
    for (QByteArray& variable : envStorage)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        fail(QStringLiteral("cannot start ") + program);
    return pid;
}

void waitForChild(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            fail(QStringLiteral("lost a child process"));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        fail(QStringLiteral("a child process failed"));
}

qint64 ownPeakBytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) // "VmHWM:    123456 kB"
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

void stopChild(pid_t pid) {
    ::kill(pid, SIGTERM);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace bench

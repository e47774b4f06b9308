// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The one place that touches the file system and the OS. Every operation that can fail
// reports a one-line description naming the file and the reason; callers decide whether
// to print it, show it or both.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QtGlobal>
#include <functional>

namespace platform {

// Outcome of an operation without a value: ok, or a description of what went wrong.
struct Status {
    bool ok = true;
    QString error;
    int code = 0; // the OS's error number, where there is one

    static Status success() { return {}; }
    static Status failure(QString description, int code = 0) {
        return {false, std::move(description), code};
    }
};

// Outcome of an operation that yields a value on success.
template <typename T> struct Result {
    bool ok = false;
    T value{};
    QString error;

    static Result success(T v) { return {true, std::move(v), {}}; }
    static Result failure(QString description) { return {false, T{}, std::move(description)}; }
};

// The home folder, asked of the environment at every call.
QString homePath();

// True when any entry stands at the path: a file, a folder, or a link (even a dangling one).
bool exists(const QString& path);

// True when the path names a folder (following links).
bool isFolder(const QString& path);

// Creates one folder; its parent must already exist.
Status createFolder(const QString& path);

// Names of the entries directly inside a folder, hidden ones included, "." and ".."
// excluded, in the order the file system yields them. Fails with a description when the
// path is missing, is not a folder or cannot be read.
Result<QStringList> listFolder(const QString& path);

// Removes folder + "/" + name: a file, a link (never what it points to), or a folder with
// everything inside it, but only when the folder really is root or lies below it. No link is
// followed at any depth, and the work is done from an open folder, so nothing swapped in
// after the check is touched. A folder elsewhere fails with code EXDEV.
Status removeEntryWithin(const QString& root, const QString& folder, const QString& name);
// Moves from to the path to (given as text), without replacing anything, but only when the
// folder of to really is root or lies below it, reached through no link. A folder elsewhere
// fails with code EXDEV, a taken target with EEXIST.
Status moveWithin(const QString& from, const QString& root, const QString& to);

// Moves an entry; fails, without touching anything, when the target already exists.
Status moveNoReplace(const QString& from, const QString& to);

// Reads a whole file as bytes.
Result<QByteArray> readBytes(const QString& path);

// Reads a whole file as UTF-8; fails on any byte sequence that is not valid UTF-8.
// A leading byte-order mark is a signature and is dropped.
Result<QString> readUtf8(const QString& path);

// Writes a whole file as UTF-8 atomically: readers see the old file or the whole new one,
// never a part. Replaces an existing file.
Status writeUtf8Atomic(const QString& path, const QString& text);
Status writeBytesAtomic(const QString& path, const QByteArray& bytes);
// The same for a file made in pieces, so that it is never whole in memory: next gives each
// piece in turn (valid until the next call), then an empty one.
Status writePiecesAtomic(const QString& path, const std::function<QByteArrayView()>& next);

// Writes bytes like writeUtf8Atomic, but never replaces: when an entry already stands at the path
// the write fails with alreadyExists set and the entry is untouched.
struct NewFileStatus {
    bool ok = true;
    bool alreadyExists = false;
    QString error;
};
NewFileStatus writeBytesAtomicNew(const QString& path, const QByteArray& bytes);

// What identifies a file's version on disk: a save compares the stamp taken when the list
// was read with the one taken just before writing, to tell that another program changed it.
// The size is -1 when nothing stands at the path.
struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modified = 0; // nanoseconds
    qint64 changed = 0;  // nanoseconds, of the last change of the inode
    bool operator==(const FileStamp&) const = default;
};
FileStamp fileStamp(const QString& path);

// True when the folder of path really is root or lies below it, reached through no link.
bool isFolderWithin(const QString& root, const QString& path);

// Replaces the file at path with bytes, all or nothing: a hidden file beside it is written,
// made durable and renamed over it, so that a failure (a full disk, the folder gone) leaves
// the old file whole. Works from the open folder, which must really be root or lie below it
// (else code EXDEV). The new file keeps the old one's permissions.
Status replaceWithin(const QString& root, const QString& path, const QByteArray& bytes);

// A uniformly distributed integer in 0 .. bound - 1 from the system's random source.
// bound must be at least 1.
quint64 randomBelow(quint64 bound);

// The location text shown and printed for a path: an absolute, percent-encoded file URL,
// with a final "/" when the path is an existing folder.
QString locationText(const QString& path);
QString locationText(const QUrl& url);

} // namespace platform

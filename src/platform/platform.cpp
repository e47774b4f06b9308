// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/platform.h"

#include "platform/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryFile>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

QByteArray encoded(const QString& path) {
    return encodeFileName(path);
}

QString osError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString describe(const QString& what, const QString& path, const QString& reason) {
    return QStringLiteral("%1「%2」: %3").arg(what, path, reason);
}

// Writes every byte through the descriptor; 0 on success, else the OS's error number.
// Writing through Qt's buffered device instead loses an error (a full disk) that shows only
// when the buffer is flushed: QSaveFile then commits a truncated file as a success (Qt 6.4),
// and a short write would be described as "Unknown error".
int writeAll(int fd, QByteArrayView bytes) {
    // A file-size limit (ulimit -f) must fail a write with EFBIG, which is reported, rather
    // than kill the program in the middle of a save.
    static const bool sizeLimitIsAnError = (std::signal(SIGXFSZ, SIG_IGN), true);
    Q_UNUSED(sizeLimitIsAnError);
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        left -= written;
    }
    return 0;
}

} // namespace

QString homePath() {
    return QDir::homePath();
}

bool exists(const QString& path) {
    struct stat st;
    return ::lstat(encoded(path).constData(), &st) == 0;
}

bool isFolder(const QString& path) {
    struct stat st;
    return ::stat(encoded(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

Status createFolder(const QString& path) {
    if (::mkdir(encoded(path).constData(), 0777) != 0)
        return Status::failure(
            describe(QStringLiteral("フォルダを作成できませんでした"), path, osError(errno)));
    return Status::success();
}

Result<QStringList> listFolder(const QString& path) {
    // QDir reports nothing for a folder it cannot list, so ask the OS directly.
    DIR* dir = ::opendir(encoded(path).constData());
    if (!dir)
        return Result<QStringList>::failure(
            describe(QStringLiteral("フォルダの中身を読み込めませんでした"), path, osError(errno)));
    QStringList names;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
            names.append(decodeFileName(name));
        errno = 0;
    }
    const int readError = errno;
    ::closedir(dir);
    if (readError != 0)
        return Result<QStringList>::failure(describe(
            QStringLiteral("フォルダの中身を読み込めませんでした"), path, osError(readError)));
    return Result<QStringList>::success(std::move(names));
}

namespace {

// Opens folder for the *at calls when it really is root or a folder below it. Each step below
// root is opened without following a link, so a link swapped in after the check fails the
// step instead of leading elsewhere. -1 with errno set on failure (EXDEV: elsewhere).
int openFolderWithin(const QString& root, const QString& folder) {
    const auto real = [](const QString& path) {
        std::string resolved;
        if (char* r = ::realpath(encoded(path).constData(), nullptr)) {
            resolved = r;
            std::free(r);
        }
        return resolved;
    };
    const std::string rootReal = real(root);
    const std::string folderReal = real(folder);
    if (rootReal.empty() || folderReal.empty())
        return -1;
    const std::string prefix = rootReal.ends_with('/') ? rootReal : rootReal + '/';
    if (folderReal != rootReal && !folderReal.starts_with(prefix)) {
        errno = EXDEV;
        return -1;
    }
    int fd = ::open(rootReal.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::string rest = folderReal == rootReal ? std::string() : folderReal.substr(prefix.size());
    while (fd >= 0 && !rest.empty()) {
        const size_t slash = rest.find('/');
        const std::string step = rest.substr(0, slash);
        rest = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
        const int next =
            ::openat(fd, step.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        ::close(fd);
        errno = error;
        fd = next;
    }
    return fd;
}

// Moves src to leaf in the open folder, never replacing an entry there. 0 on success, else
// the OS's error number (EEXIST for a taken name).
int renameNoReplaceAt(const char* src, int folder, const char* leaf) {
    if (::renameat2(AT_FDCWD, src, folder, leaf, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // File systems without RENAME_NOREPLACE: link() refuses an existing target, too.
    if (::linkat(AT_FDCWD, src, folder, leaf, 0) != 0)
        return errno;
    ::unlink(src);
    return 0;
}

// Removes the entry name of the open folder, a folder's content first; links are removed
// as links. 0 on success, else the OS's error number.
int removeAt(int folder, const char* name) {
    struct stat st;
    if (::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return ::unlinkat(folder, name, 0) == 0 ? 0 : errno;
    const int fd = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    int error = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            error = removeAt(::dirfd(dir), entry->d_name);
        if (error != 0)
            break;
    }
    ::closedir(dir);
    if (error != 0)
        return error;
    return ::unlinkat(folder, name, AT_REMOVEDIR) == 0 ? 0 : errno;
}

} // namespace

Status removeEntryWithin(const QString& root, const QString& folder, const QString& name) {
    const QString path = folder + u'/' + name;
    const auto failed = [&](int error) {
        return Status::failure(
            describe(QStringLiteral("削除できませんでした"), path, osError(error)), error);
    };
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/'))
        return failed(EINVAL);
    const int fd = openFolderWithin(root, folder);
    if (fd < 0)
        return failed(errno);
    const int error = removeAt(fd, encoded(name).constData());
    ::close(fd);
    return error == 0 ? Status::success() : failed(error);
}

namespace {

Status moveFailure(const QString& from, const QString& to, int error) {
    return Status::failure(
        QStringLiteral("「%1」を「%2」に移動できませんでした: %3").arg(from, to, osError(error)),
        error);
}

} // namespace

Status moveWithin(const QString& from, const QString& root, const QString& to) {
    const qsizetype slash = to.lastIndexOf(u'/');
    const QString folder = slash <= 0 ? QStringLiteral("/") : to.first(slash);
    const int fd = openFolderWithin(root, folder);
    if (fd < 0)
        return moveFailure(from, to, errno);
    const int error =
        renameNoReplaceAt(encoded(from).constData(), fd, encoded(to.sliced(slash + 1)).constData());
    ::close(fd);
    return error == 0 ? Status::success() : moveFailure(from, to, error);
}

Status moveNoReplace(const QString& from, const QString& to) {
    const int error =
        renameNoReplaceAt(encoded(from).constData(), AT_FDCWD, encoded(to).constData());
    return error == 0 ? Status::success() : moveFailure(from, to, error);
}

Result<QByteArray> readBytes(const QString& path) {
    if (isFolder(path))
        return Result<QByteArray>::failure(
            describe(QStringLiteral("ファイルを読み込めませんでした"), path, osError(EISDIR)));
    // Opened without waiting and read only when it is a plain file: a named pipe or a device
    // in a file's place would wait for a writer, or never end, and freeze the program.
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Result<QByteArray>::failure(
            describe(QStringLiteral("ファイルを読み込めませんでした"), path, osError(errno)));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Result<QByteArray>::failure(
            describe(QStringLiteral("ファイルを読み込めませんでした"), path,
                     QStringLiteral("通常のファイルではありません")));
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Result<QByteArray>::failure(
            describe(QStringLiteral("ファイルを読み込めませんでした"), path, file.errorString()));
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Result<QByteArray>::failure(
            describe(QStringLiteral("ファイルを読み込めませんでした"), path, file.errorString()));
    return Result<QByteArray>::success(std::move(bytes));
}

Result<QString> readUtf8(const QString& path) {
    Result<QByteArray> bytes = readBytes(path);
    if (!bytes.ok)
        return Result<QString>::failure(bytes.error);
    std::optional<QString> text = decodeUtf8(bytes.value);
    if (!text)
        return Result<QString>::failure(
            describe(QStringLiteral("ファイルを読み込めませんでした"), path,
                     QStringLiteral("UTF-8として正しくないバイト列が含まれています")));
    return Result<QString>::success(std::move(*text));
}

Status writeUtf8Atomic(const QString& path, const QString& text) {
    return writeBytesAtomic(path, text.toUtf8());
}

Status writeBytesAtomic(const QString& path, const QByteArray& bytes) {
    bool given = false;
    return writePiecesAtomic(path, [&]() -> QByteArrayView {
        if (std::exchange(given, true))
            return {};
        return bytes;
    });
}

Status writePiecesAtomic(const QString& path, const std::function<QByteArrayView()>& next) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Status::failure(
            describe(QStringLiteral("ファイルに書き込めませんでした"), path, file.errorString()));
    for (QByteArrayView piece = next(); !piece.isEmpty(); piece = next()) {
        if (const int error = writeAll(file.handle(), piece)) {
            file.cancelWriting(); // the old file stays as it was
            return Status::failure(
                describe(QStringLiteral("ファイルに書き込めませんでした"), path, osError(error)));
        }
    }
    if (!file.commit())
        return Status::failure(
            describe(QStringLiteral("ファイルに書き込めませんでした"), path, file.errorString()));
    return Status::success();
}

NewFileStatus writeBytesAtomicNew(const QString& path, const QByteArray& bytes) {
    const auto failed = [&](const QString& reason) {
        return NewFileStatus{
            false, false, describe(QStringLiteral("ファイルに書き込めませんでした"), path, reason)};
    };
    if (exists(path))
        return NewFileStatus{
            false, true,
            describe(QStringLiteral("ファイルに書き込めませんでした"), path, osError(EEXIST))};
    // Write a hidden file beside the target, make it durable, then move it into place
    // without replacing: readers never see a part, and nothing is ever written over.
    const QFileInfo info(path);
    QTemporaryFile temp(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!temp.open())
        return failed(temp.errorString());
    // A temporary file is private; a list gets the permissions of any new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(temp.handle(), 0666 & ~mask);
    if (const int error = writeAll(temp.handle(), bytes))
        return failed(osError(error));
    if (::fsync(temp.handle()) != 0)
        return failed(osError(errno));
    const Status moved = moveNoReplace(temp.fileName(), path);
    if (!moved.ok) {
        const bool taken = exists(path);
        return NewFileStatus{false, taken, moved.error};
    }
    temp.setAutoRemove(false);
    return NewFileStatus{};
}

FileStamp fileStamp(const QString& path) {
    struct stat st;
    if (::stat(encoded(path).constData(), &st) != 0)
        return {};
    return {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

bool isFolderWithin(const QString& root, const QString& path) {
    const int fd = openFolderWithin(root, QFileInfo(path).path());
    if (fd < 0)
        return errno != EXDEV;
    ::close(fd);
    return true;
}

Status replaceWithin(const QString& root, const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    const QByteArray leaf = encoded(info.fileName());
    const auto failed = [&](int error) {
        return Status::failure(
            describe(QStringLiteral("ファイルに書き込めませんでした"), path, osError(error)),
            error);
    };
    const int folder = openFolderWithin(root, info.path());
    if (folder < 0)
        return failed(errno);
    // The list keeps its permissions; a list that is gone gets those of any new file.
    struct stat st;
    mode_t mode = 0;
    if (::fstatat(folder, leaf.constData(), &st, 0) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode = ::umask(0);
        ::umask(mode);
        mode = 0666 & ~mode;
    }
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = "." + leaf + "." + QByteArray::number(randomBelow(1u << 30), 36);
        fd = ::openat(folder, temp.constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        const int error = errno;
        ::close(folder);
        return failed(error);
    }
    ::fchmod(fd, mode);
    int error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::renameat(folder, temp.constData(), folder, leaf.constData()) != 0)
        error = errno;
    if (error != 0)
        ::unlinkat(folder, temp.constData(), 0);
    else
        ::fsync(folder); // the rename itself survives a crash
    ::close(folder);
    return error == 0 ? Status::success() : failed(error);
}

namespace {

// 64-bit words from the kernel's random source, fetched a block at a time. Qt's system
// generator takes each word from the CPU's RDRAND, which costs more than half a microsecond
// a word on a virtual machine: a second to shuffle a million pairs. One getrandom call per
// block costs about 20 ns a word. The program never forks, so no two processes share a block.
class SystemRandomWords {
public:
    using result_type = quint64;
    static constexpr result_type min() { return 0; }
    static constexpr result_type max() { return ~result_type(0); }

    result_type operator()() {
        if (next_ == words_.size())
            refill();
        return words_[next_++];
    }

private:
    void refill() {
        auto* bytes = reinterpret_cast<char*>(words_.data());
        size_t filled = 0;
        while (filled < sizeof(words_)) {
            const ssize_t got = ::getrandom(bytes + filled, sizeof(words_) - filled, 0);
            if (got > 0) {
                filled += size_t(got);
            } else if (errno != EINTR) {
                // No getrandom (a very old kernel): Qt's system generator still is the OS's.
                QRandomGenerator::system()->fillRange(words_.data(), qsizetype(words_.size()));
                break;
            }
        }
        next_ = 0;
    }

    std::array<quint64, 512> words_{};
    size_t next_ = words_.size();
};

} // namespace

quint64 randomBelow(quint64 bound) {
    // uniform_int_distribution rejects the draws that would bias the result; the
    // generator's own bounded(quint32) does not.
    static thread_local SystemRandomWords words;
    std::uniform_int_distribution<quint64> distribution(0, bound - 1);
    return distribution(words);
}

QString locationText(const QString& path) {
    QString text =
        QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
    if (isFolder(path) && !text.endsWith(u'/'))
        text += u'/';
    return text;
}

QString locationText(const QUrl& url) {
    return locationText(url.toLocalFile());
}

} // namespace platform

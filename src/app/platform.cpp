#include "app/platform.h"

#include "app/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTemporaryFile>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
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
int writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
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
            names.append(QFile::decodeName(name));
        errno = 0;
    }
    const int readError = errno;
    ::closedir(dir);
    if (readError != 0)
        return Result<QStringList>::failure(describe(
            QStringLiteral("フォルダの中身を読み込めませんでした"), path, osError(readError)));
    return Result<QStringList>::success(std::move(names));
}

Status removeEntry(const QString& path) {
    // remove_all removes a link itself and never descends through one; QDir's
    // removeRecursively would empty a linked folder's target.
    std::error_code ec;
    const std::filesystem::path target(encoded(path).toStdString());
    if (!exists(path))
        return Status::failure(
            describe(QStringLiteral("削除できませんでした"), path, osError(ENOENT)));
    std::filesystem::remove_all(target, ec);
    if (ec)
        return Status::failure(describe(QStringLiteral("削除できませんでした"), path,
                                        QString::fromStdString(ec.message())));
    return Status::success();
}

Status moveNoReplace(const QString& from, const QString& to) {
    const QByteArray src = encoded(from);
    const QByteArray dst = encoded(to);
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return Status::success();
    int error = errno;
    if (error == EINVAL || error == ENOSYS) {
        // File systems without RENAME_NOREPLACE: link() refuses an existing target, too.
        if (::link(src.constData(), dst.constData()) == 0) {
            ::unlink(src.constData());
            return Status::success();
        }
        error = errno;
    }
    return Status::failure(
        QStringLiteral("「%1」を「%2」に移動できませんでした: %3").arg(from, to, osError(error)));
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Status::failure(
            describe(QStringLiteral("ファイルに書き込めませんでした"), path, file.errorString()));
    if (const int error = writeAll(file.handle(), text.toUtf8())) {
        file.cancelWriting(); // the old file stays as it was
        return Status::failure(
            describe(QStringLiteral("ファイルに書き込めませんでした"), path, osError(error)));
    }
    if (!file.commit())
        return Status::failure(
            describe(QStringLiteral("ファイルに書き込めませんでした"), path, file.errorString()));
    return Status::success();
}

NewFileStatus writeUtf8AtomicNew(const QString& path, const QString& text) {
    return writeBytesAtomicNew(path, text.toUtf8());
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

#include "text_file.h"

#include "cp1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <QSaveFile>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

void TextFileWriter::write(const QString& text) { cp1250::encodeAppend(m_bytes, text); }

void TextFileWriter::writeLine(const QString& text)
{
    cp1250::encodeAppend(m_bytes, text);
    m_bytes += "\r\n";
}

void TextFileWriter::writeEncoded(QByteArrayView bytes)
{
    if (m_bytes.capacity() < m_bytes.size() + bytes.size())
        m_bytes.reserve(std::max(m_bytes.size() + bytes.size(), 2 * m_bytes.capacity()));
    m_bytes.append(bytes);
}

QByteArray TextFileWriter::bytes() const { return m_bytes; }

bool TextFileWriter::save(const QString& path, QString* error) const { return textfile::writeWhole(path, m_bytes, error); }

namespace textfile {
namespace {

// Set only by a test's own code (a test or a test-only helper program);
// the program itself never limits its writes.
std::atomic<qint64> g_writeLimit{-1};

qint64 writeLimit() { return g_writeLimit.load(); }

bool fail(QString* error, const QString& path, const QString& reason)
{
    if (error)
        *error = QStringLiteral("Datoteku %1 nije moguće zapisati: %2").arg(QDir::toNativeSeparators(path), reason);
    return false;
}

} // namespace

void setWriteLimitForTests(qint64 bytes) { g_writeLimit.store(bytes < 0 ? -1 : bytes); }

#ifndef Q_OS_WIN

namespace {

QString systemReason(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

// Writes every byte or sets errno; honours the test limit.
bool writeAll(int fd, const char* data, qint64 size)
{
    const qint64 limit = writeLimit();
    qint64 done = 0;
    while (done < size) {
        qint64 chunk = size - done;
        if (limit >= 0) {
            if (done >= limit) {
                errno = ENOSPC;
                return false;
            }
            chunk = std::min(chunk, limit - done);
        }
        const ssize_t n = ::write(fd, data + done, size_t(chunk));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

namespace {

// A new file's bytes under a temporary name beside `path` (0600, every
// write checked; flushed to the disk when `flush`). On failure false with
// the reason, and no temporary file left.
bool writeTemporary(const QString& path, const QByteArray& bytes, bool flush, QByteArray& temp, QString* error)
{
    const QFileInfo info(path);
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    struct stat st;
    if (::lstat(target.constData(), &st) == 0) {
        if (S_ISLNK(st.st_mode))
            return fail(error, path, QStringLiteral("na njenom mjestu je simbolička veza, koju program ne mijenja."));
        if (!S_ISREG(st.st_mode))
            return fail(error, path, QStringLiteral("na njenom mjestu je nešto što nije obična datoteka."));
    }
    temp = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return fail(error, path, systemReason(errno));
    int code = 0;
    if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0 || !writeAll(fd, bytes.constData(), bytes.size()) || (flush && ::fsync(fd) != 0))
        code = errno;
    if (::close(fd) != 0 && code == 0)
        code = errno;
    if (code != 0) {
        ::unlink(temp.constData());
        return fail(error, path, systemReason(code));
    }
    return true;
}

// The temporary file takes the file's name.
bool takeName(const QString& path, const QByteArray& temp, QString* error)
{
    if (::rename(temp.constData(), QFile::encodeName(QFileInfo(path).absoluteFilePath()).constData()) == 0)
        return true;
    const int code = errno;
    ::unlink(temp.constData());
    return fail(error, path, systemReason(code));
}

} // namespace

bool writeWhole(const QString& path, const QByteArray& bytes, QString* error)
{
    QByteArray temp;
    if (!writeTemporary(path, bytes, true, temp, error) || !takeName(path, temp, error))
        return false;
    // The new name itself must reach the disk too.
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

bool writeWholeBatch(const std::vector<NamedBytes>& files, QString* error)
{
    std::vector<QByteArray> temps;
    auto removeTemporaries = [&temps] {
        for (const QByteArray& temp : temps)
            ::unlink(temp.constData());
    };
    QStringList folders;
    for (const NamedBytes& file : files) {
        QByteArray temp;
        if (!writeTemporary(file.path, file.bytes, false, temp, error)) {
            removeTemporaries();
            return false;
        }
        temps.push_back(temp);
        const QString folder = QFileInfo(file.path).absolutePath();
        if (!folders.contains(folder))
            folders << folder;
    }
    // One flush of each folder's file system for all the new files, before
    // any of them takes its name.
    for (const QString& folder : folders) {
        const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int code = fd < 0 ? errno : 0;
#ifdef __linux__
        if (code == 0 && ::syncfs(fd) != 0)
            code = errno;
#else
        ::sync();
#endif
        if (fd >= 0)
            ::close(fd);
        if (code != 0) {
            removeTemporaries();
            return fail(error, folder, systemReason(code));
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!takeName(files[i].path, temps[i], error)) {
            // The files before it are whole and named; the rest go.
            temps.erase(temps.begin(), temps.begin() + qsizetype(i) + 1);
            removeTemporaries();
            return false;
        }
    }
    for (const QString& folder : folders)
        syncFolder(folder);
    return true;
}

std::optional<QByteArray> readBytes(const QString& path, qint64 maxSize, QString* error)
{
    auto failed = [&](const QString& reason) {
        if (error)
            *error = QStringLiteral("Datoteku %1 nije moguće pročitati: %2").arg(QDir::toNativeSeparators(path), reason);
        return std::nullopt;
    };
    // Not blocking: a pipe in the file's place must not stop the program.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failed(systemReason(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int code = errno;
        ::close(fd);
        return failed(systemReason(code));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return failed(QStringLiteral("to nije obična datoteka (nego mapa, uređaj ili cijev)."));
    }
    if (st.st_size > maxSize) {
        ::close(fd);
        return failed(QStringLiteral("veća je od %1 MB, a toliko ne može biti.").arg(maxSize >> 20 > 0 ? maxSize >> 20 : 1));
    }
    QByteArray data(qsizetype(st.st_size), Qt::Uninitialized);
    qint64 done = 0;
    int code = 0;
    // What the file held when it was opened; a file that grows meanwhile
    // is not followed.
    while (done < st.st_size) {
        const ssize_t n = ::read(fd, data.data() + done, size_t(st.st_size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            code = n < 0 ? errno : EIO;
            break;
        }
        done += n;
    }
    ::close(fd);
    if (code != 0)
        return failed(systemReason(code));
    return data;
}

void removeStaleTemporaries(const QDir& dir)
{
    // A writer stopped half-way leaves ".NAME.XXXXXX" behind; with the
    // folder's lock held no writer of the program is at work in it.
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.[^.]+\\.[A-Za-z0-9]{6}$"));
    for (const QString& name : dir.entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (!pattern.match(name).hasMatch())
            continue;
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat st;
        if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid())
            ::unlink(path.constData());
    }
}

bool syncFolder(const QString& folder)
{
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return false;
    const bool ok = ::fsync(dir) == 0;
    ::close(dir);
    return ok;
}

#else

bool writeWhole(const QString& path, const QByteArray& bytes, QString* error)
{
    if (QFileInfo(path).isSymLink())
        return fail(error, path, QStringLiteral("na njenom mjestu je simbolička veza, koju program ne mijenja."));
    QSaveFile file(path);
    const qint64 limit = writeLimit();
    const QByteArray data = limit >= 0 ? bytes.left(limit) : bytes;
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.flush()) {
        file.cancelWriting();
        return fail(error, path, file.errorString());
    }
    if (data.size() != bytes.size()) {
        file.cancelWriting();
        return fail(error, path, QStringLiteral("There is not enough space on the disk."));
    }
    if (!file.commit())
        return fail(error, path, file.errorString());
    return true;
}

bool writeWholeBatch(const std::vector<NamedBytes>& files, QString* error)
{
    for (const NamedBytes& file : files)
        if (!writeWhole(file.path, file.bytes, error))
            return false;
    return true;
}

std::optional<QByteArray> readBytes(const QString& path, qint64 maxSize, QString* error)
{
    const QFileInfo info(path);
    QFile file(path);
    QString reason;
    if (!info.isFile())
        reason = QStringLiteral("to nije obična datoteka.");
    else if (info.size() > maxSize)
        reason = QStringLiteral("veća je od %1 MB, a toliko ne može biti.").arg(maxSize >> 20 > 0 ? maxSize >> 20 : 1);
    else if (!file.open(QIODevice::ReadOnly))
        reason = file.errorString();
    QByteArray data;
    if (reason.isEmpty()) {
        data = file.read(maxSize + 1);
        if (data.size() > maxSize)
            reason = QStringLiteral("veća je od %1 MB.").arg(maxSize >> 20);
    }
    if (!reason.isEmpty()) {
        if (error)
            *error = QStringLiteral("Datoteku %1 nije moguće pročitati: %2").arg(QDir::toNativeSeparators(path), reason);
        return std::nullopt;
    }
    return data;
}

void removeStaleTemporaries(const QDir&) {}

bool syncFolder(const QString&) { return true; }

#endif

std::optional<QStringList> readLines(const QString& path, qint64 maxSize)
{
    const std::optional<QByteArray> bytes = readBytes(path, maxSize, nullptr);
    if (!bytes)
        return std::nullopt;
    const QByteArray& data = *bytes;
    QString text = cp1250::decode(data);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool copyWhole(const QString& from, const QString& to, QString* error)
{
    QFile source(from);
    if (!QFileInfo(from).isFile() || !source.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Datoteku %1 nije moguće pročitati: %2")
                         .arg(QDir::toNativeSeparators(from), source.errorString());
        return false;
    }
    const QByteArray data = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Datoteku %1 nije moguće pročitati: %2")
                         .arg(QDir::toNativeSeparators(from), source.errorString());
        return false;
    }
    return writeWhole(to, data, error);
}

} // namespace textfile

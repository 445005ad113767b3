#include "folder_lock.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace workdir {

#ifdef Q_OS_WIN

FolderLock::FolderLock(const QString& folder)
{
    const std::wstring path = QDir::toNativeSeparators(QDir(folder).filePath(kLockFile)).toStdWString();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_error = QStringLiteral("Ne mogu zaključati mapu %1 (greška %2).")
                      .arg(QDir::toNativeSeparators(folder)).arg(GetLastError());
        return;
    }
    OVERLAPPED overlapped{};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &overlapped)) {
        CloseHandle(h);
        m_error = kBusyMessage;
        return;
    }
    m_handle = h;
    m_held = true;
}

FolderLock::~FolderLock()
{
    if (m_handle)
        CloseHandle(static_cast<HANDLE>(m_handle));
}

#else

FolderLock::FolderLock(const QString& folder)
{
    const QByteArray path = QFile::encodeName(QDir(folder).filePath(kLockFile));
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        m_error = QStringLiteral("Ne mogu zaključati mapu %1: %2")
                      .arg(QDir::toNativeSeparators(QDir(folder).absolutePath()), QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    int rc;
    do
        rc = ::flock(m_fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        m_error = errno == EWOULDBLOCK ? kBusyMessage
                                       : QStringLiteral("Ne mogu zaključati mapu %1: %2")
                                             .arg(QDir::toNativeSeparators(QDir(folder).absolutePath()),
                                                  QString::fromLocal8Bit(std::strerror(errno)));
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_held = true;
}

FolderLock::~FolderLock()
{
    // Closing the file ends the lock; the file stays for the next program.
    if (m_fd >= 0)
        ::close(m_fd);
}

#endif

} // namespace workdir

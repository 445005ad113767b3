#include "tiny_filesystem.h"

#include <QByteArray>
#include <QFile>

#ifdef __linux__
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

#ifdef __linux__

TinyFilesystem::TinyFilesystem(int kilobytes)
{
    if (::geteuid() != 0 || !m_dir.isValid())
        return;
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0700";
    m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
}

TinyFilesystem::~TinyFilesystem()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

void TinyFilesystem::fill() const
{
    const int fd = ::open(QFile::encodeName(m_dir.path() + QStringLiteral("/filler")).constData(),
                          O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd < 0)
        return;
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    // The last partial block.
    while (::write(fd, "x", 1) > 0) {
    }
    ::close(fd);
}

#else

TinyFilesystem::TinyFilesystem(int) {}
TinyFilesystem::~TinyFilesystem() = default;
void TinyFilesystem::fill() const {}

#endif

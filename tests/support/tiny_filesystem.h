#pragma once

#include <QString>
#include <QTemporaryDir>

// A small tmpfs of its own, for the tests of a full disk as a user's
// machine meets it. Mounting needs root (as in CI); elsewhere isMounted()
// is false and the test skips.
class TinyFilesystem {
public:
    explicit TinyFilesystem(int kilobytes);
    ~TinyFilesystem();

    bool isMounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    // Fills the filesystem to the last byte with a file of its own.
    void fill() const;

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

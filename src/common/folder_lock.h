#pragma once

#include <QString>

// The working folder belongs to one program at a time: the program and
// every command that writes hold this lock for their whole run. It is the
// operating system's lock on the file "Kelmorin.lck" in the folder, so it
// ends with the process, also when the process is killed. A second writer
// gets kBusyMessage and must change nothing. Read-only commands do not take
// it.
//
//   workdir::FolderLock lock;              // the current folder
//   if (!lock.isHeld()) { show(lock.error()); return 1; }
namespace workdir {

inline const QString kLockFile = QStringLiteral("Kelmorin.lck");
inline const QString kBusyMessage = QStringLiteral("Program već radi s podacima u ovoj mapi.");

class FolderLock {
public:
    // Takes the lock of the folder (the current folder by default) at once,
    // without waiting.
    explicit FolderLock(const QString& folder = QStringLiteral("."));
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool isHeld() const { return m_held; }
    // kBusyMessage when another program holds it, else the system's reason.
    const QString& error() const { return m_error; }

private:
    bool m_held = false;
    QString m_error;
#ifdef Q_OS_WIN
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

} // namespace workdir

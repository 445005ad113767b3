#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

// A fresh working folder for one test: the process's current folder while
// the object lives.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    // Creates a (small text) file in the folder.
    void touch(const QString& name, const QByteArray& content = "x") const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

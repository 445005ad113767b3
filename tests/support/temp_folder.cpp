#include "temp_folder.h"

#include <QFile>

TempFolder::TempFolder() : m_previous(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
}

TempFolder::~TempFolder() { QDir::setCurrent(m_previous); }

void TempFolder::touch(const QString& name, const QByteArray& content) const
{
    QFile file(m_dir.filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

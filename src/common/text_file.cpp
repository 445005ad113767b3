#include "text_file.h"

#include "cp1250.h"

#include <QFile>
#include <QSaveFile>

void TextFileWriter::write(const QString& text) { m_text += text; }

void TextFileWriter::writeLine(const QString& text)
{
    m_text += text;
    m_text += QStringLiteral("\r\n");
}

QByteArray TextFileWriter::bytes() const { return cp1250::encode(m_text); }

bool TextFileWriter::save(const QString& path, QString* error) const
{
    QSaveFile file(path);
    const QByteArray data = bytes();
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

namespace textfile {

std::optional<QStringList> readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString text = cp1250::decode(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace textfile

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Text files of the program (the fund's submission files, the reports,
// Recept.txt, the upgrade markers) are Windows-1250 with CR LF line ends.
class TextFileWriter {
public:
    // Appends text to the current line.
    void write(const QString& text);
    // Appends text and ends the line.
    void writeLine(const QString& text = {});

    // The bytes as they will stand in the file.
    QByteArray bytes() const;

    // Writes the file at once and whole (a temporary file that replaces the
    // target only when complete). On failure returns false and sets error.
    bool save(const QString& path, QString* error = nullptr) const;

private:
    QString m_text;
};

namespace textfile {

// Lines of a Windows-1250 file, split at CR LF or LF; nullopt when the file
// cannot be read.
std::optional<QStringList> readLines(const QString& path);

} // namespace textfile

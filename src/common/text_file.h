#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Text files of the program (the fund's submission files, the reports,
// Recept.txt, the upgrade markers) are Windows-1250 with CR LF line ends.
class TextFileWriter {
public:
    // Appends text to the current line.
    void write(const QString& text);
    // Appends text and ends the line.
    void writeLine(const QString& text = {});
    // Appends bytes already in Windows-1250 (the fund's file, built as
    // bytes for speed).
    void writeEncoded(QByteArrayView bytes);

    // The bytes as they will stand in the file.
    QByteArray bytes() const;

    // Writes the file whole or not at all (textfile::writeWhole). On failure
    // returns false and sets error.
    bool save(const QString& path, QString* error = nullptr) const;

private:
    // Kept encoded as it is written: a submission file of a year's invoices
    // is several megabytes.
    QByteArray m_bytes;
};

// How the program puts a file on disk. A file is written under a
// temporary name in its own folder, every write is checked, the data are
// flushed to the disk, and only then does the file take its name: an
// existing file is replaced by a complete new one or stays as it was, and a
// failure leaves no temporary file behind. Files are for the user alone
// (0600). A symbolic link in the file's place is refused, so that no link
// can send the program's data elsewhere.
namespace textfile {

// Writes bytes to path. On failure returns false with a message that names
// the file and gives the system's reason.
bool writeWhole(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Many files written as writeWhole writes one, with one flush of the disk
// for all of them instead of one per file (a thousand e-invoices): each
// goes under a temporary name, then the disk is flushed once, then each
// takes its name. A failure before the names are taken leaves every old
// file as it was and none of the new ones.
struct NamedBytes {
    QString path;
    QByteArray bytes;
};
bool writeWholeBatch(const std::vector<NamedBytes>& files, QString* error = nullptr);

// Copies a file through writeWhole (copies to a medium, a new Pac.mdb).
bool copyWhole(const QString& from, const QString& to, QString* error = nullptr);

// The bytes of a regular file of at most maxSize bytes, opened without
// waiting (a pipe or a device in its place is refused, not read). On
// failure nullopt, with a message that names the file and the reason (the
// size limit included) in *error.
std::optional<QByteArray> readBytes(const QString& path, qint64 maxSize, QString* error);

// Removes what writers stopped half-way (a killed process, a power cut)
// left in the folder under the temporary names of writeWhole. Only while
// holding the folder's lock.
void removeStaleTemporaries(const QDir& dir);

// Makes the names in the folder (a rename into place) reach the disk.
bool syncFolder(const QString& folder);

// The largest text file the program reads (Recept.txt, the version file).
constexpr qint64 kMaxReadSize = 1 << 20;

// Lines of a Windows-1250 file, split at CR LF or LF; nullopt when the file
// cannot be read, is not a regular file (a device, a pipe, a folder) or is
// larger than maxSize.
std::optional<QStringList> readLines(const QString& path, qint64 maxSize = kMaxReadSize);

// For tests of a full disk: every file written afterwards fails with "no
// space left" at its byte number `bytes` (0: at once); a negative number
// lifts the limit. Only code linked into a test sets it (a test itself, or
// a test-only helper program that runs the tool's commands); nothing the
// user can set reaches it.
void setWriteLimitForTests(qint64 bytes);

} // namespace textfile

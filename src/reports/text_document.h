#pragma once

#include <QString>
#include <QStringList>

class Platform;
class PrintTarget;

// A text file of the program (a report, a submission file) as the report
// window shows it: Windows-1250 decoded, lines split at CR LF.
class TextDocument {
public:
    // Reads the file; false with the reason when it cannot be read.
    bool load(const QString& path, QString* error = nullptr);

    const QString& path() const { return m_path; }
    const QString& text() const { return m_text; }
    QStringList lines() const;
    // The name a print of the document goes out under: a report is named
    // after its heading ("Pregled-neplacenih-racuna"), any other file after
    // its own name.
    QString documentName() const;

    // Writes the same bytes under another name, whole or not at all; never
    // under the name of one of the program's data files.
    bool saveAs(const QString& target, QString* error = nullptr) const;

    enum class PrintOutcome { Printed, Cancelled, Failed };
    // Prints in a fixed-pitch font whose size lets the widest line fit the
    // page (10 points at most); a page ends only between lines.
    // A failed print gives the reason when the output has one.
    PrintOutcome print(PrintTarget& target, QString* failure = nullptr) const;

    // The area the lines are printed in, in mm from the corner of the
    // printable area of an A4 sheet, and the largest font size.
    static constexpr double kLeft = 11, kTop = 11, kWidth = 180, kHeight = 263;
    static constexpr double kMaxPoints = 10;
    static inline const QString kFontFamily = QStringLiteral("Liberation Mono");

private:
    QString m_path;
    QString m_text;
};

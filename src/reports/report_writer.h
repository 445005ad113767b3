#pragma once

#include "common/text_file.h"

#include <QDate>
#include <QString>

// The program's text reports: "Temp.txt" in the working folder, written in
// character columns counted from 1 and saved as Windows-1250 with CR LF.
//
// Text placed at column n starts there on the current line; when the line
// already reaches column n with more than blanks, or a value ends just
// before column n so that the two would touch, it starts at column n of
// the next line: a blank always separates two values. Numbers
// (counters, invoice numbers) carry a leading blank where the sign would
// stand and one trailing blank; dates are in the short form of the regional
// settings; money is "#,##0.00" with the regional separators.
class ReportWriter {
public:
    static inline const QString kFileName = QStringLiteral("Temp.txt");
    // Amounts stand right-aligned so that they end in this column.
    static constexpr int kRightColumn = 75;

    // Text at column n (from 1).
    void at(int column, const QString& text);
    // A number at column n: " 12 ", "-3 ".
    void numberAt(int column, double value);
    // A date at column n, in the short form; nothing for a missing date.
    void dateAt(int column, const QDate& date);
    // Text that ends in column 75.
    void rightAligned(const QString& text, int lastColumn = kRightColumn);
    // Money "#,##0.00" ending in column 75.
    void moneyRightAligned(double amount);

    // Ends the current line (an empty line when nothing stands on it).
    void endLine();
    // Ends the current line only when something stands on it.
    void closeLine();
    // A whole line of text.
    void line(const QString& text = {});

    // The length of the current line so far.

    // The bytes of the file as it will be written (the open line included).
    QByteArray bytes() const;
    // Writes the whole report at once (it ends the report); on failure false
    // and the reason.
    bool save(const QString& path, QString* error = nullptr);

    // A number as the reports write it: blank or "-" for the sign, the
    // digits, one blank.
    static QString numberText(double value);

private:
    TextFileWriter m_file;
    QString m_line;
    bool m_lineOpen = false;
};

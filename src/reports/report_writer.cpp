#include "report_writer.h"

#include "common/formats.h"

void ReportWriter::at(int column, const QString& text)
{
    const int start = std::max(column, 1) - 1;
    // Only blanks past the column (a number's trailing blank: running
    // numbers of 1000 and more reach the invoice number's column) give way;
    // anything else sends the text to the next line.
    if (m_line.size() > start && QStringView(m_line).mid(start).trimmed().isEmpty())
        m_line.truncate(start);
    // Two values never touch: text that would follow the last character of
    // another value without a blank between them goes to the next line too
    // (an invoice number of 10000 and up before a date, a long surname
    // before an amount).
    const bool touches = m_line.size() == start && start > 0 && !m_line.back().isSpace() && !text.isEmpty()
        && !text.front().isSpace();
    if (m_line.size() > start || touches)
        endLine();
    if (m_line.size() < start)
        m_line += QString(start - m_line.size(), u' ');
    m_line += text;
    m_lineOpen = true;
}

QString ReportWriter::numberText(double value)
{
    const QString digits = format::general(value);
    return (digits.startsWith(u'-') ? digits : QStringLiteral(" ") + digits) + u' ';
}

void ReportWriter::numberAt(int column, double value) { at(column, numberText(value)); }

void ReportWriter::dateAt(int column, const QDate& date)
{
    if (date.isValid())
        at(column, format::shortDate(date));
}

void ReportWriter::rightAligned(const QString& text, int lastColumn)
{
    at(lastColumn + 1 - int(text.size()), text);
}

void ReportWriter::moneyRightAligned(double amount) { rightAligned(format::number(amount, u"#,##0.00")); }

void ReportWriter::endLine()
{
    m_file.writeLine(m_line);
    m_line.clear();
    m_lineOpen = false;
}

void ReportWriter::closeLine()
{
    if (m_lineOpen)
        endLine();
}

void ReportWriter::line(const QString& text)
{
    closeLine();
    m_line = text;
    endLine();
}

QByteArray ReportWriter::bytes() const
{
    TextFileWriter copy = m_file;
    if (m_lineOpen)
        copy.write(m_line);
    return copy.bytes();
}

bool ReportWriter::save(const QString& path, QString* error)
{
    // A line left open is written as it stands, without a line end, as the
    // old reports left it.
    if (m_lineOpen) {
        m_file.write(m_line);
        m_line.clear();
        m_lineOpen = false;
    }
    return m_file.save(path, error);
}

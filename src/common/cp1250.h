#pragma once

#include <QByteArray>
#include <QString>

// Windows-1250, the Central European code page in which the fund reads its
// submission files and in which the reports are written. Our own table, so
// that the bytes are the same on every Qt build whatever converters it has.
//
// A character the code page lacks is written as its base letter when it has
// one (ñ becomes n, õ becomes o); anything else becomes "?", as Windows does.
// The five bytes the code page leaves undefined (0x81, 0x83, 0x88, 0x90,
// 0x98) read as the control characters of the same number and write back
// unchanged.
namespace cp1250 {

QByteArray encode(QStringView text);
// Appends the text's bytes to out (a file built piece by piece).
void encodeAppend(QByteArray& out, QStringView text);
QString decode(const QByteArray& bytes);

// The character a byte stands for.
char16_t toUnicode(unsigned char byte);

} // namespace cp1250

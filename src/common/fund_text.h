#pragma once

#include <QString>

#include <optional>

// The fund's submission file ends every field with a colon and every record
// with CR LF: a stored value holding one of these characters (or a NUL)
// would add fields or records of its own. The submission refuses such a
// value, and the entry boxes do not accept these characters.
namespace fundtext {

// The colon, CR, LF and NUL.
bool isUnsafe(QChar c);
// CR, LF and NUL: never meaningful in a one-line entry box.
bool isLineBreakOrNul(QChar c);

// The first unsafe character of a text, if any.
std::optional<QChar> firstUnsafe(const QString& text);

// The character as the messages name it: "dvotočka (:)", "CR", "LF", "NUL".
QString name(QChar c);

// Fields of Rn and Opci whose values go into the fund's file.
bool goesIntoFundFile(const QString& field);

} // namespace fundtext

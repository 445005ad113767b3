#pragma once

#include <QString>

class RecordSet;

// Finding a code in a code list as the user types: by the code's beginning
// (both lists) or its ending (the 13-character list). The typed text stands
// for itself, except "*", which stands for any characters; letters match
// without regard to case, as the lists were always searched.
namespace codelists {

enum class Match { Beginning, Ending };

bool matches(QStringView code, QStringView typed, Match match);

// The first row, in the list's order, whose code (Sifra) matches; -1 when
// none does. An empty text matches every code.
int firstMatch(const RecordSet& list, const QString& typed, Match match);

} // namespace codelists

#pragma once

#include <QStringList>

class QTextStream;

namespace codelists {

// kelmorin-tool prices DIR FILE.csv [--yes]: prints what the price list
// would change (every row not understood included) and applies it only with
// --yes. 0 when it was applied, previewed or had nothing to change, 1 when
// the file or the folder could not be used, 2 for wrong arguments.
int runPricesTool(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace codelists

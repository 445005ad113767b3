#include "code_search.h"

#include "data/record_set.h"

#include <QList>

namespace codelists {
namespace {

// Matches a pattern made of literal pieces separated by "*" against the
// whole code.
bool globMatch(QStringView code, const QList<QStringView>& pieces)
{
    if (pieces.size() == 1)
        return code.compare(pieces.front(), Qt::CaseInsensitive) == 0;
    const QStringView first = pieces.front(), last = pieces.back();
    if (code.size() < first.size() + last.size() || !code.startsWith(first, Qt::CaseInsensitive)
        || !code.endsWith(last, Qt::CaseInsensitive))
        return false;
    qsizetype from = first.size();
    const qsizetype end = code.size() - last.size();
    for (qsizetype i = 1; i + 1 < pieces.size(); ++i) {
        if (pieces[i].isEmpty())
            continue;
        const qsizetype at = code.first(end).indexOf(pieces[i], from, Qt::CaseInsensitive);
        if (at < 0)
            return false;
        from = at + pieces[i].size();
    }
    return true;
}

QList<QStringView> piecesOf(const QString& pattern)
{
    QList<QStringView> pieces;
    for (QStringView piece : QStringView(pattern).split(u'*'))
        pieces << piece;
    return pieces;
}

QString patternOf(QStringView typed, Match match)
{
    const QString text = typed.toString();
    return match == Match::Beginning ? QString(text + u'*') : QString(u'*' + text);
}

} // namespace

bool matches(QStringView code, QStringView typed, Match match)
{
    const QString pattern = patternOf(typed, match);
    return globMatch(code, piecesOf(pattern));
}

int firstMatch(const RecordSet& list, const QString& typed, Match match)
{
    const int column = list.fieldIndex(u"Sifra");
    if (column < 0)
        return -1;
    const QString pattern = patternOf(typed, match);
    const QList<QStringView> pieces = piecesOf(pattern);
    for (int row = 0; row < list.rowCount(); ++row) {
        const QVariant code = list.value(row, column);
        if (!code.isNull() && globMatch(code.toString(), pieces))
            return row;
    }
    return -1;
}

} // namespace codelists

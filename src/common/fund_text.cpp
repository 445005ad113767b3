#include "fund_text.h"

#include <QStringList>

namespace fundtext {

bool isLineBreakOrNul(QChar c) { return c == u'\r' || c == u'\n' || c == QChar(0); }

bool isUnsafe(QChar c) { return c == u':' || isLineBreakOrNul(c); }

std::optional<QChar> firstUnsafe(const QString& text)
{
    for (QChar c : text) {
        if (isUnsafe(c))
            return c;
    }
    return std::nullopt;
}

QString name(QChar c)
{
    if (c == u':')
        return QStringLiteral("dvotočka (:)");
    if (c == u'\r')
        return QStringLiteral("CR (kraj retka)");
    if (c == u'\n')
        return QStringLiteral("LF (novi redak)");
    if (c == QChar(0))
        return QStringLiteral("NUL");
    return QString(c);
}

bool goesIntoFundFile(const QString& field)
{
    static const QStringList fields = {
        QStringLiteral("Broj"),      QStringLiteral("Brosig1"), QStringLiteral("Brosig2"),  QStringLiteral("Brbolesnlist"),
        QStringLiteral("Drz"),       QStringLiteral("Dopunsko"), QStringLiteral("Naziv"),   QStringLiteral("Sifra"),
        QStringLiteral("SifraMalopr"), QStringLiteral("Prostor"), QStringLiteral("Operater"), QStringLiteral("Oznosn"),
        QStringLiteral("Ozndop"),
    };
    return fields.contains(field, Qt::CaseInsensitive);
}

} // namespace fundtext

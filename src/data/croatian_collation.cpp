#include "croatian_collation.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

#include <vector>

namespace croatian {
namespace {

// Each letter of the Latin alphabet has room for the Croatian letters that
// follow it (C, Č, Ć; D, Dž, Đ; L, Lj; N, Nj; S, Š; Z, Ž).
constexpr int kLetterStep = 4;
// Blanks and punctuation come first, then digits, then letters.
constexpr int kDigitBase = 1000;
constexpr int kLetterBase = 2000;
// A letter outside the Latin alphabet (Greek, Cyrillic) after all of them.
constexpr int kOtherLetterBase = kLetterBase + 27 * kLetterStep;

int latin(char16_t lower) { return kLetterBase + (lower - u'a') * kLetterStep; }

// The primary weight of the letter (or digraph) at position i, and how many
// characters it takes.
int weightAt(QStringView s, qsizetype i, int* length)
{
    *length = 1;
    const QChar c = s[i].toLower();
    const QChar next = i + 1 < s.size() ? s[i + 1].toLower() : QChar();
    switch (c.unicode()) {
    case u'č': return latin(u'c') + 1;
    case u'ć': return latin(u'c') + 2;
    case u'đ': return latin(u'd') + 2;
    case u'š': return latin(u's') + 1;
    case u'ž': return latin(u'z') + 1;
    case u'd':
        if (next == u'ž') {
            *length = 2;
            return latin(u'd') + 1;
        }
        break;
    case u'l':
    case u'n':
        if (next == u'j') {
            *length = 2;
            return latin(c.unicode()) + 1;
        }
        break;
    default:
        break;
    }
    if (c >= u'a' && c <= u'z')
        return latin(c.unicode());
    if (c.isDigit())
        return kDigitBase + c.digitValue();
    if (c.isLetter()) {
        // An accented letter of another language sorts with its base letter.
        const QString base = c.decomposition();
        if (!base.isEmpty() && base[0].toLower() >= u'a' && base[0].toLower() <= u'z')
            return latin(base[0].toLower().unicode());
        return kOtherLetterBase + c.unicode();
    }
    return c.unicode() < kDigitBase ? c.unicode() : kDigitBase - 1;
}

std::vector<int> weights(QStringView s)
{
    std::vector<int> w;
    w.reserve(size_t(s.size()));
    for (qsizetype i = 0; i < s.size();) {
        int length = 1;
        w.push_back(weightAt(s, i, &length));
        i += length;
    }
    return w;
}

int collate(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    const QString left = QString::fromUtf8(static_cast<const char*>(a), lengthA);
    const QString right = QString::fromUtf8(static_cast<const char*>(b), lengthB);
    return compare(left, right);
}

} // namespace

int compare(QStringView a, QStringView b)
{
    const std::vector<int> wa = weights(a), wb = weights(b);
    const size_t n = std::min(wa.size(), wb.size());
    for (size_t i = 0; i < n; ++i) {
        if (wa[i] != wb[i])
            return wa[i] < wb[i] ? -1 : 1;
    }
    if (wa.size() != wb.size())
        return wa.size() < wb.size() ? -1 : 1;
    // Same letters: lower case before upper case, then the exact text.
    for (qsizetype i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] != b[i] && a[i].toLower() == b[i].toLower())
            return a[i].isLower() ? -1 : 1;
    }
    return a.compare(b);
}

bool install(QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return false;
    sqlite3* connection = *static_cast<sqlite3* const*>(handle.constData());
    if (!connection)
        return false;
    const QByteArray name = kCollation.toUtf8();
    return sqlite3_create_collation(connection, name.constData(), SQLITE_UTF8, nullptr, &collate) == SQLITE_OK;
}

} // namespace croatian

#include "oib.h"

namespace oib {

bool isValid(QStringView oib)
{
    if (oib.size() != 11)
        return false;
    for (QChar c : oib) {
        if (c < u'0' || c > u'9')
            return false;
    }
    int a = 10;
    for (int i = 0; i < 10; ++i) {
        a = (a + oib[i].digitValue()) % 10;
        if (a == 0)
            a = 10;
        a = a * 2 % 11;
    }
    const int check = a == 1 ? 0 : 11 - a;
    return check == oib[10].digitValue();
}

} // namespace oib

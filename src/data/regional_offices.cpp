#include "regional_offices.h"

namespace offices {

const std::array<RegionalOffice, 20>& all()
{
    static const std::array<RegionalOffice, 20> list = {{
        {u"Bjelovar", "004", u"J.J. Strossmayera 2"},
        {u"Čakovec", "010", u"E. Kvaternika 2"},
        {u"Dubrovnik", "018", u"Bana Jelačića 2"},
        {u"Gospić", "026", u"Dr. Franje Tuđmana 6"},
        {u"Karlovac", "034", u"Kralja Tomislava 8"},
        {u"Krapina", "040", u"I. Rendića 7"},
        {u"Koprivnica", "037", u"Hrvatske Državnosti 3"},
        {u"Osijek", "060", u"Kralja Zvonimira 1"},
        {u"Pazin", "065", u"Prolaz Otokara Keršovanija 2"},
        {u"Požega", "079", u"Republike Hrvatske 1c"},
        {u"Rijeka", "072", u"Slogin kula bb"},
        {u"Slavonski Brod", "080", u"Trg pobjede 4"},
        {u"Sisak", "078", u"F. Lovrića 2"},
        {u"Split", "082", u"Obala Kneza Branimira 14"},
        {u"Šibenik", "083", u"Fra Dr. J. Milete 12"},
        {u"Varaždin", "088", u"Kolodvorska 20 C"},
        {u"Virovitica", "091", u"V. Nazora 2"},
        {u"Vinkovci", "090", u"Trg J. Runjanina bb"},
        {u"Zadar", "100", u"Š. Kožičića Benje 2"},
        {u"Zagreb", "114", u"Branimirova 37"},
    }};
    return list;
}

QStringList cities()
{
    QStringList names;
    for (const RegionalOffice& office : all())
        names << QString::fromUtf16(office.city);
    return names;
}

int indexOf(const QString& city)
{
    const auto& list = all();
    for (size_t i = 0; i < list.size(); ++i) {
        if (city == QString::fromUtf16(list[i].city))
            return int(i);
    }
    return -1;
}

QString codeOf(const QString& city)
{
    const int i = indexOf(city);
    return i < 0 ? QString() : QString::fromLatin1(all()[i].code);
}

} // namespace offices

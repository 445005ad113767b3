#include "main_menu.h"

namespace mainmenu {
namespace {

MenuItem item(const char* name, const QString& caption) { return {QString::fromLatin1(name), caption, {}}; }
MenuItem separator() { return {QString(), kSeparator, {}}; }

} // namespace

const std::vector<MenuItem>& items()
{
    static const std::vector<MenuItem> menu = {
        item("prikrnbr", QStringLiteral("Prikaži račun broj...")),
        item("brisirn", QStringLiteral("Obriši prazni posljednji račun")),
        item("iznsud", QStringLiteral("Iznos sudjelovanja")),
        {QStringLiteral("ispir"), QStringLiteral("Pregled računa..."),
         {item("ispirneplac", QStringLiteral("neplaćenih")), item("ispirplac", QStringLiteral("plaćenih")),
          item("ispirsvi", QStringLiteral("svih")), separator(),
          item("ispirsifra", QStringLiteral("po šifri kelmorin"))}},
        {QStringLiteral("ispob"), QStringLiteral("Pregled računa po bilješci"),
         {item("ispobbez", QStringLiteral("bez bilješke")),
          item("ispobbilo", QStringLiteral("sa bilo kakvom bilješkom")),
          item("ispobodr", QStringLiteral("sa određenom bilješkom"))}},
        separator(),
        item("ispvisrac", QStringLiteral("Ispis više računa")),
        item("eracuni", QStringLiteral("eRačuni za označene račune...")),
        item("eracunkpd", QStringLiteral("KPD oznake šifri...")),
        item("rekaporeza", QStringLiteral("Rekapitulacija poreza")),
        separator(),
        item("izbpr", QStringLiteral("Izbor printera i  postavke ispisa")),
        item("sifrar", QStringLiteral("Šifrarnici")),
        item("krup", QStringLiteral("Pomoć")),
        item("prilisrec", QStringLiteral("Prilagodba ispisa potvrde (recepta)")),
        item("prsadrdis", QStringLiteral("Pregled sadržaja diskete")),
        separator(),
        item("provpodpac", QStringLiteral("Provjera podataka pac. (HZZO portal)")),
        {QStringLiteral("uctcij0"), QStringLiteral("Učitaj stare cijene (do 30.04.06)"), {}, true},
        {QStringLiteral("uctcij1"), QStringLiteral("Učitaj nove cijene (od 01.05.06)"), {}, true},
        item("uctcjenik", QStringLiteral("Učitaj cjenik iz datoteke...")),
        item("prbipdisk", QStringLiteral("Pregled baze pod. i kreiranih disketa")),
        separator(),
        {QStringLiteral("arhiva"), QStringLiteral("Arhiva"),
         {item("arhnapravi", QStringLiteral("Napravi arhivu sada")),
          item("arhvrati", QStringLiteral("Vrati podatke iz arhive..."))}},
        separator(),
        item("promposlgod", QStringLiteral("Promjena poslovne godine")),
        separator(),
        item("visu", QStringLiteral("Visus")),
    };
    return menu;
}

} // namespace mainmenu

#pragma once

#include "common/services.h"

#include <QString>

class Database;
class RecordSet;

// The code-list commands of the menu and the code-list tab, on the data
// alone; the windows wire them to their controls, the tool and the tests call
// them directly.
namespace codelists {

inline const QString kCodeListDocument = QStringLiteral("Sifrarnici.rtf");
inline const QString kSnapshotFile = QStringLiteral("040506.inm");
inline const QString kOldPrices = QStringLiteral("C300406");
inline const QString kNewPrices = QStringLiteral("C010506");

inline const QString kUnlockCaption = QStringLiteral("OMOGUĆI PROMJENE U TABLICI");
inline const QString kUnlockHint = QStringLiteral("Omogući promjene ili upis novih kelmorin");
inline const QString kUnlockMessage = QStringLiteral(
    "Možete mijenjati podatke u tablici (cijene, nazive, šifre...). Ako želite upisati novo pomagalo, spustite se u "
    "zadnji red i upišite sve podatke (redni broj izmislite)!");

// "Šifrarnici": the code-list document with the system's default program;
// a message naming the file when it is not in the working folder.
void openCodeListDocument(Services services);

// "Učitaj stare cijene (do 30.04.06)" / "Učitaj nove cijene (od 01.05.06)":
// the rows of the 13-character list from `fromRow` on (in the list's
// order) are replaced by the rows of the snapshot table, whose columns 1 to 3
// are copied by position. One transaction: when the file or the table cannot
// be read, or anything fails on the way, the list stays as it was and a
// message names the file or the table. The list is read anew afterwards.
bool loadSnapshotPrices(Services services, RecordSet& thirteenCharacterList, const QString& table, int fromRow);

enum class PriceLoad { Applied, Cancelled, Failed, NoChange };

// "Učitaj cjenik iz datoteke...": reads the CSV file, shows what would
// change and applies it on OK (see pricelist). skippedLimit: how many rows
// not understood the summary lists (-1: all).
PriceLoad loadPriceFile(Services services, Database& db, const QString& path, int skippedLimit = 20);

} // namespace codelists

#pragma once

#include "common/services.h"

#include <QDate>
#include <QString>
#include <QVariantMap>

#include <memory>
#include <optional>
#include <vector>

class Database;
class RecordSet;

// The patient's card: the eye-examination visits of one patient (table
// Nalazi of Pac.mdb), oldest first, one of them current.
namespace patients {

inline const QString kVisitTable = QStringLiteral("Nalazi");

// The fields of a visit by their place in the Enter order (0 to 37):
// Anamneza, Dg1 to Dg3, NormD, NormS, A1 to A22, KorD, KorS, Addbliz,
// Komentar, A42 to A47.
const QStringList& visitFields();
constexpr int kLastVisitPosition = 37;
inline int nextVisitPosition(int position) { return position >= 0 && position < kLastVisitPosition ? position + 1 : 0; }

// The narrow boxes that hold the sign of the value after them: A2, A6,
// A10, A12, A17, A19.
bool isSignField(const QString& field);
// Double-click on a sign: "+" or nothing becomes "-", anything else "+".
QString nextSign(const QString& sign);
// The kind of correction of an eye (KorDnkl, KorSnkl): "" → "naočale" →
// "kont. leće" → ""; any other text stays.
QString nextCorrectionKind(const QString& kind);

// What a visit holds about one eye, as an optician writes a prescription:
// visual acuity without correction, the refraction (sphere with its sign,
// cylinder with its sign, axis) and the acuity reached with it, and the
// correction prescribed (its kind and the acuity with it). The sphere and
// the acuity of the box with the cylinder count when they were filled,
// those of the box with the sphere alone otherwise.
struct EyeFindings {
    QString acuity, sphere, cylinder, axis, correctedAcuity, correctionKind, correction;
    bool isEmpty() const;
};
EyeFindings eyeFindings(const QVariantMap& visit, bool rightEye);

// The refraction and correction of a visit in one line per eye, for the
// previous visit shown beside the current one ("OD: sph +1,50 cyl -0,50
// ax 90  naočale 1,0"); an eye with nothing filled is left out.
QString refractionSummary(const QVariantMap& visit);

class VisitCard {
public:
    VisitCard(Database& db, Services services);
    ~VisitCard();

    // Every activation of the card: the patient's visits read anew, the
    // last one current. False (with the reason shown) when they cannot be
    // read.
    bool load(qint64 patientNumber);
    qint64 patient() const { return m_patient; }
    RecordSet& visits() { return *m_visits; }

    bool hasVisits() const;
    // Nothing can be typed into a card without visits.
    bool isEditable() const { return hasVisits(); }

    // Picking a visit in the grid: the visit left is saved first.
    bool select(int row);
    // "Nova posjeta      ": asks, saves the current visit and adds one
    // dated today, which becomes current. The new row, or -1.
    int addVisit();
    // Leaving the card, or another window taking over: the current visit
    // is written back; a failure is shown.
    bool save();

    // Double-click on a sign field, click on a correction-kind caption:
    // the current visit's field changes; false without a current visit.
    bool toggleSign(const QString& field);
    bool cycleCorrectionKind(const QString& field);

    QVariantMap currentVisit() const;
    // The visit before the current one, when there is one.
    std::optional<QVariantMap> previousVisit() const;

private:
    Database& m_db;
    Services m_services;
    std::unique_ptr<RecordSet> m_visits;
    qint64 m_patient = -1;
};

} // namespace patients

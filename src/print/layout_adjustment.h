#pragma once

#include "data/layout_slots.h"

#include <QString>

#include <array>

class Database;

// The positions of the values on the back of the fund's confirmation form
// (layout table OrtopedskoPomagalo2), as the adjustment window edits them:
// the left and top distance of every slot from the paper's edge in mm, as
// typed text. A box whose text is not a number is left alone by the moves
// and not saved.
class LayoutAdjustment {
public:
    static constexpr int kSlots = prescriptionslots::slot::kCount; // the slots of the form
    // The slots before the lining-size codes move; those codes stay put.
    static constexpr int kMovable = prescriptionslots::slot::kLiningSize;

    // Fills the boxes of the movable slots from the table; rows that cannot be
    // read are skipped.
    void load(Database& db);

    const QString& left(int slot) const { return m_left.at(size_t(slot)); }
    const QString& top(int slot) const { return m_top.at(size_t(slot)); }
    void setLeft(int slot, const QString& text) { m_left.at(size_t(slot)) = text; }
    void setTop(int slot, const QString& text) { m_top.at(size_t(slot)) = text; }

    // Moves every slot that holds a number by whole millimetres (right and
    // down are positive).
    void moveAll(double right, double down);

    // Stores the numbers of the movable slots and puts the second line of each
    // aid name 3 mm below its first line. False with the reason when the
    // table could not be written (nothing is changed then).
    bool save(Database& db, QString* error);

    // A number as typed, with the locale's decimal comma or a point.
    static bool readNumber(const QString& text, double* value);

private:
    std::array<QString, kSlots> m_left, m_top;
};

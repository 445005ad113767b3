#pragma once

#include <QVariant>

#include <array>

// The print slots 0 to 91: the values of one print, filled by the print
// command and placed on the page by the rows of a layout table that name a
// slot. A slot holds a text or a number; a number is printed in its default
// text form, a date in the short form of the system.
class PrintValues {
public:
    static constexpr int kCount = 92;

    void clear() { m_slots.fill(QVariant(QString())); }
    QVariant& operator[](int slot) { return m_slots.at(size_t(slot)); }
    const QVariant& operator[](int slot) const { return m_slots.at(size_t(slot)); }
    QString text(int slot) const;

private:
    std::array<QVariant, kCount> m_slots{};
};

#pragma once

// The kinds of layout rows (column A1 of a layout table), as the stored
// tables of every release hold them. A text row may give its column's width
// in A5 (kinds 1, 9, 91, 92): its text then keeps inside that column.
namespace rowkind {

inline constexpr int kText = 1;             // the text A7 at (A2, A3)
inline constexpr int kLine = 2;             // a line from (A2, A4) to (A3, A5), width A6
inline constexpr int kBoxRow = 5;           // a row of boxes (invoices), width A6
inline constexpr int kRectangle = 6;        // a rectangle
inline constexpr int kCentredSlot = 7;      // the slot A7 centred between A2 and A5
inline constexpr int kRightAlignedSlot = 9; // the slot A7 ending at A2 (invoices)
inline constexpr int kCentredText = 17;     // the text A7 centred between A2 and A5
inline constexpr int kBoxedSlot = 18;       // the slot A7 one character to a box (invoices)
inline constexpr int kCross = 51;           // an X when the slot A7 holds 1 (invoices)
inline constexpr int kCircle = 52;          // a circle at A3 or A2 as the slot A7 holds 1 or not (invoices)
inline constexpr int kSlot = 91;            // the slot A7 at (A2, A3)
inline constexpr int kWrappedSlot = 92;     // the slot A7 wrapped (invoices) or ending at A2 (the form)
inline constexpr int kColumnSlot = 93;      // the slot A7 wrapped inside the column from A2, A5 wide (both)

} // namespace rowkind

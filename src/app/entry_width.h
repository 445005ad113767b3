#pragma once

class QLineEdit;

// Makes a box wide enough to show a value of so many characters whole (in
// the width of digits, the widest characters of codes, numbers and dates),
// frame and margins included.
void fitCharacters(QLineEdit* edit, int characters);

#pragma once

class QWidget;

// What a screen reader announces. A box is announced by its caption, as a
// sighted user finds it; the program's own windows are announced as windows.
namespace accessiblenames {

// Every control under root that a caption (a label with the control as its
// buddy) names and that has no name of its own takes the caption's text,
// without its "&". A combo box would otherwise be announced by the entry
// it shows ("Zagreb") instead of what it is for.
void nameFromCaptions(QWidget* root);

// Makes the program's free-standing windows (plain widgets shown as a
// window: the report, the browser, the print adjustment) windows to
// assistive technology rather than nameless fillers, and has a combo box
// named by its caption with its entry as its value. Once per run; any
// later call does nothing.
void install();

} // namespace accessiblenames

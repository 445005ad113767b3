#pragma once

#include <QString>

// A printed page in millimetres from the top-left corner of the sheet's
// printable area. Prints draw through it, so that the same drawing goes to
// a printer, to a PDF file, or into a recording for tests.
class Canvas {
public:
    struct Font {
        QString family; // the forms' own names: "Arial CE", "Times New Roman CE"
        double points = 10;
        bool bold = false;
        bool italic = false;
        bool operator==(const Font&) const = default;
    };

    virtual ~Canvas() = default;

    virtual void setFont(const Font& font) = 0;
    virtual const Font& font() const = 0;
    // The printed width of a text in the current font, in mm.
    virtual double textWidth(const QString& text) = 0;
    // The height of a line of the current font, in mm.
    virtual double lineHeight() = 0;
    // A text whose top is at y, starting at x.
    virtual void text(double x, double top, const QString& text) = 0;
    // Line widths are in the forms' units (1 is a fine line).
    virtual void line(double x1, double y1, double x2, double y2, double width) = 0;
    virtual void circle(double cx, double cy, double radius, double width) = 0;
    virtual void newPage() = 0;
    // Ends the document; false when it could not be written or printed.
    virtual bool finish() = 0;
    // Why finish() failed, in words fit for a message (the file and the
    // system's reason), when the canvas knows.
    virtual QString failure() const { return {}; }
};

#include "recording_canvas.h"

namespace {

// Draws into a recording that outlives the print.
class ForwardingCanvas : public Canvas {
public:
    explicit ForwardingCanvas(Canvas& to) : m_to(to) {}
    void setFont(const Font& font) override { m_to.setFont(font); }
    const Font& font() const override { return m_to.font(); }
    double textWidth(const QString& text) override { return m_to.textWidth(text); }
    double lineHeight() override { return m_to.lineHeight(); }
    void text(double x, double top, const QString& text) override { m_to.text(x, top, text); }
    void line(double x1, double y1, double x2, double y2, double width) override { m_to.line(x1, y1, x2, y2, width); }
    void circle(double cx, double cy, double radius, double width) override { m_to.circle(cx, cy, radius, width); }
    void newPage() override { m_to.newPage(); }
    bool finish() override { return m_to.finish(); }

private:
    Canvas& m_to;
};

} // namespace

std::unique_ptr<Canvas> RecordingPrintTarget::open(const QString& documentName)
{
    documentNames << documentName;
    if (refuse)
        return nullptr;
    documents.push_back(std::make_unique<RecordingCanvas>());
    return std::make_unique<ForwardingCanvas>(*documents.back());
}

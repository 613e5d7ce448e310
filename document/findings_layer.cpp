#include "document/findings_layer.h"

#include "document/layer_canvas.h"

#include <QColor>
#include <QPainter>
#include <QPen>

namespace velmor {

namespace {

const QColor ErrorColour(0xE0, 0x10, 0x10);
const QColor WarningColour(0xFF, 0xA0, 0x00);
// Thick enough to be seen over any tile at the map's scale, and at the overview's smallest.
constexpr double OutlinePixels = 2.5;

} // namespace

FindingsLayer::FindingsLayer(QObject *parent)
    : Layer(QStringLiteral("check"), tr("Course check"), parent)
{ }

QRect FindingsLayer::cellsOf(const rom::Finding &finding)
{
    const rom::TileArea &a = finding.area;
    if (a.isEmpty())
        return {};
    return QRect(a.col, a.row, a.width, a.height).intersected(QRect(0, 0, MapSide, MapSide));
}

QRect FindingsLayer::covered() const
{
    QRect cells;
    for (const rom::Finding &finding : mFindings)
        cells |= cellsOf(finding);
    return cells;
}

void FindingsLayer::setFindings(std::vector<rom::Finding> findings)
{
    const QRect before = covered();
    mFindings = std::move(findings);
    const QRect cells = before | covered();
    if (!cells.isEmpty())
        emit changed(cells);
}

void FindingsLayer::draw(QPainter &painter, const LayerCanvas &canvas) const
{
    const QRect exposed = canvas.exposedCells();
    painter.save();
    painter.setBrush(Qt::NoBrush);
    // Warnings first, so an error over the same cells shows in red.
    for (const rom::Severity severity : {rom::Severity::Warning, rom::Severity::Error}) {
        painter.setPen(QPen(severity == rom::Severity::Error ? ErrorColour : WarningColour,
                            OutlinePixels));
        for (const rom::Finding &finding : mFindings) {
            const QRect cells = cellsOf(finding);
            if (finding.severity != severity || !cells.intersects(exposed))
                continue;
            const double inset = OutlinePixels / 2;
            painter.drawRect(canvas.cellsToView(cells).adjusted(inset, inset, -inset, -inset));
        }
    }
    painter.restore();
}

QString FindingsLayer::describeAt(QPointF coursePixel) const
{
    const QPoint cell = cellAt(coursePixel);
    for (const rom::Finding &finding : mFindings) {
        if (cellsOf(finding).contains(cell))
            return QString::fromStdString(finding.line());
    }
    return {};
}

} // namespace velmor

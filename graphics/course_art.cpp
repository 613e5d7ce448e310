#include "graphics/course_art.h"

#include "document/course_document.h"
#include "document/layer.h"
#include "document/layer_canvas.h"

#include <QPainter>

namespace velmor::graphics {

void CourseArt::setGraphics(std::shared_ptr<const ThemeGraphics> graphics)
{
    mRenderer.setGraphics(std::move(graphics));
}

void CourseArt::drawCells(QPainter &painter, const LayerCanvas &canvas, const CourseMap &) const
{
    const QRectF course(0, 0, CoursePixels, CoursePixels);
    // Only the source pixels behind the painted part: at 8 x the course is 8192 pixels across.
    const QRectF target = canvas.toView(course).intersected(canvas.exposed());
    if (target.isEmpty())
        return;
    const QRectF source(canvas.toCourse(target.topLeft()), canvas.toCourse(target.bottomRight()));
    const bool smooth = canvas.scale() < 1.0;
    const bool wasSmooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.drawImage(target, mRenderer.image(), source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, wasSmooth);
}

void CourseArt::drawCell(QPainter &painter, const LayerCanvas &canvas, int index,
    const Cell &cell) const
{
    const QRect place(cellColumn(index), cellRow(index), 1, 1);
    painter.drawImage(canvas.cellsToView(place), mRenderer.tileImage(cell.text));
}

QImage paintCourse(const CourseDocument &document, std::shared_ptr<const ThemeGraphics> graphics,
    int scale)
{
    CourseArt art;
    art.setGraphics(std::move(graphics));
    art.render(document.map().texts());
    QImage picture(CoursePixels * scale, CoursePixels * scale, QImage::Format_RGB888);
    if (picture.isNull())
        return picture;
    QPainter painter(&picture);
    const LayerCanvas canvas(scale, QPointF(0, 0), QRectF(picture.rect()), &art);
    for (const Layer *layer : document.layers()) {
        if (layer->isVisible())
            layer->draw(painter, canvas);
    }
    return picture;
}

} // namespace velmor::graphics

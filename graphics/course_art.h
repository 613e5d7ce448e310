#pragma once

#include "document/tile_art.h"
#include "graphics/course_renderer.h"

#include <QImage>

namespace velmor {
class CourseDocument;
}

namespace velmor::graphics {

// The cells as the game draws them, at any scale: the whole course rendered once at its own size
// (CourseRenderer) and drawn enlarged or reduced into the part of a view being painted. Pixels
// stay sharp when enlarged and are smoothed when reduced. The owner keeps the picture up to date
// with update().
class CourseArt : public TileArt
{
public:
    void setGraphics(std::shared_ptr<const ThemeGraphics> graphics);
    const std::shared_ptr<const ThemeGraphics> &graphics() const { return mRenderer.graphics(); }
    void render(const QStringList &texts) { mRenderer.render(texts); }
    void update(const QStringList &texts, const QRect &cells) { mRenderer.update(texts, cells); }
    const QImage &image() const { return mRenderer.image(); }

    void drawCells(QPainter &painter, const LayerCanvas &canvas, const CourseMap &map) const override;
    void drawCell(QPainter &painter, const LayerCanvas &canvas, int index,
        const Cell &cell) const override;

private:
    CourseRenderer mRenderer;
};

// The whole course with every shown layer of the document over it, scale times 1024 pixels
// square: what Export Image saves. Nothing (a null image) when there is not enough memory.
QImage paintCourse(const CourseDocument &document, std::shared_ptr<const ThemeGraphics> graphics,
    int scale);

} // namespace velmor::graphics

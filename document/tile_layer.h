#pragma once

#include "document/layer.h"

namespace velmor {

class CourseMap;

// The course's 16,384 cells as a layer: drawn by each view's own tile art, changed by the
// drawing tools through the map and its history.
class TileLayer : public Layer
{
    Q_OBJECT

public:
    explicit TileLayer(CourseMap &map, QObject *parent = nullptr);

    CourseMap &map() const { return mMap; }

    void draw(QPainter &painter, const LayerCanvas &canvas) const override;
    QString describeAt(QPointF coursePixel) const override;

private:
    CourseMap &mMap;
};

} // namespace velmor

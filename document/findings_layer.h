#pragma once

#include "document/layer.h"
#include "rom/course_check.h"

#include <vector>

namespace velmor {

// The last course check's findings over the map: a red outline over the cells of each error, an
// amber one over each warning. Not the course's data, so not on the undo stack: each check
// replaces the findings whole.
class FindingsLayer : public Layer
{
    Q_OBJECT

public:
    explicit FindingsLayer(QObject *parent = nullptr);

    const std::vector<rom::Finding> &findings() const { return mFindings; }
    // Emits changed() with the cells the old and the new findings cover.
    void setFindings(std::vector<rom::Finding> findings);

    // The cells (x column, y row) a finding is drawn over; empty for one about the whole course.
    static QRect cellsOf(const rom::Finding &finding);

    void draw(QPainter &painter, const LayerCanvas &canvas) const override;
    QString describeAt(QPointF coursePixel) const override;

private:
    QRect covered() const;

    std::vector<rom::Finding> mFindings;
};

} // namespace velmor

#pragma once

#include <QEvent>
#include <QList>
#include <QObject>
#include <QPaintEvent>
#include <QRect>

namespace velmor::test {

// Collects the rectangles a widget is asked to paint (install it as the widget's event filter):
// for checking that an edit repaints only what changed.
class PaintWatcher : public QObject
{
public:
    QList<QRect> rects;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            rects.append(static_cast<QPaintEvent *>(event)->rect());
        return false;
    }
};

} // namespace velmor::test

#pragma once

#include "document/layer.h"

#include "rom/course_ai.h"
#include "rom/lap_line.h"
#include "rom/object_positions.h"
#include "rom/overlay_items.h"
#include "rom/start_grid.h"

#include <QUndoCommand>

#include <optional>

namespace velmor {

// The cells (x column, y row) of the 128 x 128 map that a rectangle of course pixels touches,
// clipped to the map; empty for an empty rectangle or one wholly off the map.
QRect cellsOfPixels(const QRectF &coursePixels);

// A layer whose whole value is replaced by each edit: one undo step per replace(). A drag shows
// its value live with preview() and ends in one replace(), so the gesture is one step however
// many positions it went through.
template <typename T>
class ValueLayer : public Layer
{
public:
    using Layer::Layer;

    const T &value() const { return mValue; }

    // One named undo step ("Move Item Box"); the stack's undo gives back the value before it.
    // Emits changed() with the cells the old and new value cover. After a preview, the step's
    // undo returns to the value before the first preview(). Replacing a value by itself is no
    // step: nothing changed, so nothing is modified. A replaced value is readable, whatever the
    // ROM held; undo gives the layer back its reason to be unreadable.
    void replace(const T &value, const QString &undoText)
    {
        const T before = mPreviewFrom ? *mPreviewFrom : mValue;
        mPreviewFrom.reset();
        if (before == value && unreadableReason().isEmpty()) {
            set(value);
            return;
        }
        push(new Step(*this, before, value, unreadableReason(), undoText));
    }
    // A live drag: shows `value` without an undo step.
    void preview(const T &value)
    {
        if (!mPreviewFrom)
            mPreviewFrom = mValue;
        set(value);
    }
    // Returns to the value before the first preview(), without a step.
    void cancelPreview()
    {
        if (!mPreviewFrom)
            return;
        const T before = *mPreviewFrom;
        mPreviewFrom.reset();
        set(before);
    }
    bool isPreviewing() const { return mPreviewFrom.has_value(); }

    // What a ROM or a fresh document holds: no undo step, and the layer readable.
    void load(const T &value)
    {
        mPreviewFrom.reset();
        setUnreadable({});
        set(value);
    }
    // An unreadable layer keeps no value of its own: it draws nothing and says why.
    void loadUnreadable(const QString &reason)
    {
        load(T {});
        setUnreadable(reason);
    }

    // The cells a value draws on, whatever it draws there.
    virtual QRect cellsOf(const T &value) const = 0;

private:
    class Step : public QUndoCommand
    {
    public:
        Step(ValueLayer &layer, T before, T after, QString unreadableBefore, const QString &text)
            : QUndoCommand(text)
            , mLayer(layer)
            , mBefore(std::move(before))
            , mAfter(std::move(after))
            , mUnreadableBefore(std::move(unreadableBefore))
        { }
        void redo() override
        {
            mLayer.setUnreadable({});
            mLayer.set(mAfter);
        }
        void undo() override
        {
            mLayer.set(mBefore);
            mLayer.setUnreadable(mUnreadableBefore);
        }

    private:
        ValueLayer &mLayer;
        T mBefore;
        T mAfter;
        QString mUnreadableBefore;
    };

    void set(const T &value)
    {
        if (value == mValue)
            return;
        const QRect cells = cellsOf(mValue) | cellsOf(value);
        mValue = value;
        if (!cells.isEmpty())
            emit changed(cells);
    }

    T mValue {};
    std::optional<T> mPreviewFrom;
};

// Item boxes, coins, oil, dash plates, jump bars and blocks: outlined boxes of their size with a
// glyph for their kind.
class ItemsLayer : public ValueLayer<rom::OverlayItems>
{
    Q_OBJECT

public:
    explicit ItemsLayer(QObject *parent = nullptr);
    QRect cellsOf(const rom::OverlayItems &items) const override;
    void draw(QPainter &painter, const LayerCanvas &canvas) const override;
    QString describeAt(QPointF coursePixel) const override;
};

// The four groups of objects (a colour each) and the match race's own; courses without objects
// hold nothing.
class ObjectsLayer : public ValueLayer<std::optional<rom::ObjectPositions>>
{
    Q_OBJECT

public:
    explicit ObjectsLayer(QObject *parent = nullptr);
    QRect cellsOf(const std::optional<rom::ObjectPositions> &objects) const override;
    void draw(QPainter &painter, const LayerCanvas &canvas) const override;
    QString describeAt(QPointF coursePixel) const override;
};

// The eight numbered kart places of a race, or the two players' places of a battle.
class StartLayer : public ValueLayer<rom::StartGrid>
{
    Q_OBJECT

public:
    explicit StartLayer(QObject *parent = nullptr);
    QRect cellsOf(const rom::StartGrid &start) const override;
    void draw(QPainter &painter, const LayerCanvas &canvas) const override;
    QString describeAt(QPointF coursePixel) const override;
};

// The lap line as a bar over its flagged cells; battle courses hold nothing.
class LapLayer : public ValueLayer<std::optional<rom::LapLine>>
{
    Q_OBJECT

public:
    explicit LapLayer(QObject *parent = nullptr);
    QRect cellsOf(const std::optional<rom::LapLine> &lap) const override;
    void draw(QPainter &painter, const LayerCanvas &canvas) const override;
    QString describeAt(QPointF coursePixel) const override;
};

// The AI as a whole value (zones, targets and the spare records), drawn as its zones: translucent
// shapes numbered in race order.
class ZonesLayer : public ValueLayer<rom::CourseAi>
{
    Q_OBJECT

public:
    explicit ZonesLayer(QObject *parent = nullptr);
    QRect cellsOf(const rom::CourseAi &ai) const override;
    void draw(QPainter &painter, const LayerCanvas &canvas) const override;
    QString describeAt(QPointF coursePixel) const override;

    // The number of the zone the game puts at a point (course pixels): the last one written there.
    std::optional<int> zoneAt(QPointF coursePixel) const;
};

// The targets of the zones layer's AI: numbered points joined in order into a closed path
// coloured by speed. Holds no value of its own; its edits replace the zones layer's AI, and it
// is unreadable exactly when that is.
class TargetsLayer : public Layer
{
    Q_OBJECT

public:
    explicit TargetsLayer(ZonesLayer &zones, QObject *parent = nullptr);

    ZonesLayer *zones() const { return &mZones; }
    const std::vector<rom::Target> &targets() const { return mZones.value().targets; }
    QRect cellsOf(const rom::CourseAi &ai) const;

    void draw(QPainter &painter, const LayerCanvas &canvas) const override;
    QString describeAt(QPointF coursePixel) const override;

private:
    ZonesLayer &mZones;
    QRect mDrawn; // the cells the path drew on last
};

} // namespace velmor

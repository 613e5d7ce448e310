#pragma once

#include "editor/tool.h"
#include "rom/overlay_items.h"

#include <QList>

namespace velmor {

class ItemsLayer;

// Items: a click on free ground places the palette's pattern with its top-left at the cell under
// the pointer, a drag moves the item under the pointer (or every selected one), Ctrl+click adds
// to the selection or takes from it; the Edit entries delete, copy and paste the selected items.
// A press, its drag and the release are one step ("Place Item Box", "Move Item Box"). The 42nd
// item is refused: the game's slot holds 41.
class ItemsTool : public Tool
{
    Q_OBJECT

public:
    explicit ItemsTool(ToolContext &context, QObject *parent = nullptr);

    // The pattern the palette chose for placing.
    void setPattern(int pattern) { mPattern = pattern; }
    int pattern() const { return mPattern; }
    // Indices into the items layer's list, in the order chosen.
    const QList<int> &selected() const { return mSelected; }

    bool press(const ToolEvent &event) override;
    void move(const ToolEvent &event) override;
    bool release(const ToolEvent &event) override;
    void cancel() override;
    void drawPreview(QPainter &painter, const LayerCanvas &canvas) const override;

    bool hasOwnSelection() const override { return !mSelected.isEmpty(); }
    QString copyOwnSelection() const override;
    void deleteOwnSelection() override;
    void dropOwnSelection() override { setSelected({}); }
    bool pasteOwn(const QString &text, QPoint cell) override;

    // The clipboard text of items ("velmor items" and one "size pattern col row" line each), and
    // back; nothing when the text is not such a list or holds a value the game cannot take.
    static QString itemsText(const rom::OverlayItems &items);
    static std::optional<rom::OverlayItems> itemsFromText(const QString &text);

private:
    enum class Drag { None, Placing, Moving };

    ItemsLayer &layer() const;
    // "Move Item Box" for one item, "Move 3 Items" for more.
    QString stepText(const QString &verb, const rom::OverlayItems &items, const QList<int> &which) const;
    void setSelected(const QList<int> &selected);
    // The cells the selection's outlines cover.
    QRect selectedCells(const rom::OverlayItems &items) const;
    // A selection that outlived an undo keeps only the items still there.
    void keepSelectionValid();

    int mPattern = 0;
    QList<int> mSelected;
    Drag mDrag = Drag::None;
    QPoint mAnchor;
    QPoint mOffset;
    rom::OverlayItems mStart; // the list the gesture starts from, a placed item included
};

} // namespace velmor

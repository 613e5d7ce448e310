#pragma once

#include <QObject>
#include <QPointF>
#include <QRect>
#include <QString>

class QPainter;
class QUndoCommand;
class QUndoStack;

namespace velmor {

class LayerCanvas;

// One kind of the course's data as the document holds it (the tiles, the items, the AI, …):
// it draws itself over the map in any view, says what changed, names what lies under the
// pointer, and puts its edits on the document's one undo stack. Views know layers only through
// this.
class Layer : public QObject
{
    Q_OBJECT

public:
    // key names the layer in code and on the command line ("tiles", "items"); title for the user.
    Layer(const QString &key, const QString &title, QObject *parent = nullptr);

    QString key() const { return mKey; }
    QString title() const { return mTitle; }

    bool isVisible() const { return mVisible; }
    void setVisible(bool visible);

    // Why the course's data for this layer could not be read; empty when it could. An unreadable
    // layer draws nothing and the views say why.
    QString unreadableReason() const { return mUnreadable; }
    void setUnreadable(const QString &reason);

    // Draws what lies in the canvas's exposed part.
    virtual void draw(QPainter &painter, const LayerCanvas &canvas) const = 0;
    // What lies at a point (course pixels) in a few words, for the status bar; empty for nothing.
    virtual QString describeAt(QPointF coursePixel) const;

    // The document's stack, where push() puts this layer's edits.
    void setUndoStack(QUndoStack *stack) { mStack = stack; }
    QUndoStack *undoStack() const { return mStack; }

signals:
    // The cells (x column, y row) whose drawing changed, everything the layer draws for them
    // included.
    void changed(const QRect &cells);
    void visibilityChanged(bool visible);

protected:
    // The edit becomes one undo step; the stack runs it at once.
    void push(QUndoCommand *command);

private:
    QString mKey;
    QString mTitle;
    QString mUnreadable;
    QUndoStack *mStack = nullptr;
    bool mVisible = true;
};

} // namespace velmor

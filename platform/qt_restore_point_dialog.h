#pragma once

#include "platform/restore_point_dialog.h"

#include <QPointer>

class QWidget;

namespace velmor {

// The restore points on QDialog: a table of time, course, size and state, with Restore enabled
// only on a point that can be restored.
class QtRestorePointDialog : public RestorePointDialog
{
public:
    explicit QtRestorePointDialog(QWidget *parent = nullptr);
    void setParentWidget(QWidget *parent) { mParent = parent; }

    std::optional<int> choose(const QString &rom, const QList<Row> &rows) override;

private:
    QPointer<QWidget> mParent;
};

} // namespace velmor

#include "platform/qt_restore_point_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmor {

QtRestorePointDialog::QtRestorePointDialog(QWidget *parent)
    : mParent(parent)
{ }

std::optional<int> QtRestorePointDialog::choose(const QString &rom, const QList<Row> &rows)
{
    QDialog dialog(mParent);
    dialog.setObjectName(QStringLiteral("restorePointsDialog"));
    dialog.setWindowTitle(QObject::tr("Restore Points"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *heading = new QLabel(rows.isEmpty()
            ? QObject::tr("%1 has no restore points yet: Save Course into ROM keeps one before "
                          "every save.")
                  .arg(rom)
            : QObject::tr("Restore points of %1, newest first. Restoring one gives the ROM as it "
                          "was before that save; the ROM as it is now is kept as a restore point "
                          "first.")
                  .arg(rom),
        &dialog);
    heading->setWordWrap(true);
    layout->addWidget(heading);

    auto *list = new QTreeWidget(&dialog);
    list->setObjectName(QStringLiteral("RestorePointList"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QObject::tr("Time (UTC)"), QObject::tr("Course"), QObject::tr("Size"),
        QObject::tr("State")});
    const QLocale locale;
    for (const Row &row : rows) {
        auto *item = new QTreeWidgetItem(list,
            {row.time, row.course, locale.formattedDataSize(row.size),
                row.usable ? QObject::tr("can be restored") : row.problem});
        item->setToolTip(3, row.problem);
        if (!row.usable)
            item->setForeground(3, dialog.palette().brush(QPalette::Disabled, QPalette::Text));
    }
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(list);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QPushButton *restore =
        buttons->addButton(QObject::tr("&Restore"), QDialogButtonBox::AcceptRole);
    restore->setObjectName(QStringLiteral("RestorePointRestore"));
    restore->setEnabled(false);
    layout->addWidget(buttons);
    // A damaged point is never applied, so it cannot be chosen either.
    QObject::connect(list, &QTreeWidget::currentItemChanged, &dialog, [&] {
        const int index = list->currentIndex().row();
        restore->setEnabled(index >= 0 && index < rows.size() && rows.at(index).usable);
    });
    QObject::connect(list, &QTreeWidget::itemDoubleClicked, &dialog, [&] {
        if (restore->isEnabled())
            dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.resize(640, 360);
    if (dialog.exec() != QDialog::Accepted || !restore->isEnabled())
        return std::nullopt;
    return list->currentIndex().row();
}

} // namespace velmor

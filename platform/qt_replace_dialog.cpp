#include "platform/qt_replace_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace velmor {

QtReplaceDialog::QtReplaceDialog(QWidget *parent)
    : mParent(parent)
{ }

std::optional<ReplaceDialog::Tiles> QtReplaceDialog::ask(const Tiles &proposal)
{
    QDialog dialog(mParent);
    dialog.setObjectName(QStringLiteral("replaceDialog"));
    dialog.setWindowTitle(QObject::tr("Replace Tiles"));
    auto *layout = new QFormLayout(&dialog);
    const QRegularExpression tile(QStringLiteral("[0-9A-Fa-f]{0,2}"));
    auto *from = new QLineEdit(proposal.from, &dialog);
    auto *to = new QLineEdit(proposal.to, &dialog);
    for (QLineEdit *field : {from, to})
        field->setValidator(new QRegularExpressionValidator(tile, field));
    from->setObjectName(QStringLiteral("replaceFrom"));
    to->setObjectName(QStringLiteral("replaceTo"));
    layout->addRow(QObject::tr("Replace every tile:"), from);
    layout->addRow(QObject::tr("With tile:"), to);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // Only whole tile numbers can be replaced, and by whole tile numbers.
    const auto check = [&] {
        buttons->button(QDialogButtonBox::Ok)
            ->setEnabled(from->text().size() == 2 && to->text().size() == 2);
    };
    QObject::connect(from, &QLineEdit::textChanged, &dialog, check);
    QObject::connect(to, &QLineEdit::textChanged, &dialog, check);
    check();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    // As typed: the map tells "0a" from "0A", as it does when painting.
    return Tiles {from->text(), to->text()};
}

} // namespace velmor

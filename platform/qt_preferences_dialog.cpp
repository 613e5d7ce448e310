#include "platform/qt_preferences_dialog.h"

#include "platform/process_start.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmor {

namespace {

QString tr(const char *text)
{
    return QObject::tr(text);
}

} // namespace

QtPreferencesDialog::QtPreferencesDialog(QWidget *parent)
    : mParent(parent)
{ }

std::optional<PreferencesDialog::Emulator> QtPreferencesDialog::ask(const Request &request)
{
    QDialog dialog(mParent);
    dialog.setObjectName(QStringLiteral("preferencesDialog"));
    dialog.setWindowTitle(tr("Preferences"));
    auto *layout = new QFormLayout(&dialog);

    auto *note = new QLabel(request.note, &dialog);
    note->setObjectName(QStringLiteral("EmulatorNote"));
    note->setWordWrap(true);
    note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addRow(note);

    auto *found = new QComboBox(&dialog);
    found->setObjectName(QStringLiteral("EmulatorFound"));
    found->addItem(tr("(your own choice)"));
    for (const Emulator &offer : request.offered) {
        found->addItem(offer.name.isEmpty() ? offer.program : offer.name);
        if (offer.program == request.current.program
            && offer.arguments == request.current.arguments)
            found->setCurrentIndex(found->count() - 1);
    }
    found->setEnabled(!request.offered.isEmpty());
    layout->addRow(tr("Emulators found:"), found);

    auto *program = new QLineEdit(request.current.program, &dialog);
    program->setObjectName(QStringLiteral("EmulatorProgram"));
    auto *browse = new QPushButton(tr("Browse…"), &dialog);
    browse->setObjectName(QStringLiteral("EmulatorBrowse"));
    auto *programRow = new QHBoxLayout;
    programRow->addWidget(program, 1);
    programRow->addWidget(browse);
    layout->addRow(tr("Emulator:"), programRow);

    auto *arguments = new QLineEdit(request.current.arguments, &dialog);
    arguments->setObjectName(QStringLiteral("EmulatorArguments"));
    arguments->setToolTip(tr("%f stands for the ROM; without it the ROM comes last"));
    layout->addRow(tr("Arguments (%f for the ROM):"), arguments);

    auto *test = new QPushButton(tr("Test"), &dialog);
    test->setObjectName(QStringLiteral("EmulatorTest"));
    test->setEnabled(bool(request.test));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->addButton(test, QDialogButtonBox::ActionRole);
    layout->addRow(buttons);

    const auto fields = [&] {
        return Emulator {program->text().trimmed(), arguments->text().trimmed(), {}};
    };
    QObject::connect(found, &QComboBox::activated, &dialog, [&](int index) {
        if (index < 1)
            return;
        program->setText(request.offered.at(index - 1).program);
        arguments->setText(request.offered.at(index - 1).arguments);
    });
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&] {
        const QString start = QFileInfo(program->text()).absolutePath();
        const QString chosen =
            QFileDialog::getOpenFileName(&dialog, tr("Choose the Emulator"), start);
        if (!chosen.isEmpty())
            program->setText(QDir::toNativeSeparators(chosen));
    });
    // A program that cannot be started is refused with the reason, here and on OK.
    const auto refused = [&] {
        const QString why = whyNotRunnable(fields().program);
        if (why.isEmpty())
            return false;
        note->setText(tr("This emulator cannot be used: %1.").arg(why));
        return true;
    };
    QObject::connect(test, &QPushButton::clicked, &dialog, [&] {
        if (!refused())
            note->setText(request.test(fields()));
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        if (!refused())
            dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.resize(520, dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return fields();
}

} // namespace velmor

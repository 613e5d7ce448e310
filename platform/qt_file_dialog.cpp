#include "platform/qt_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace velmor {

QStringList qtNameFilters(const QString &productFilter)
{
    const QStringList parts = productFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype k = 0; k + 1 < parts.size(); k += 2) {
        const QString description = parts.at(k).trimmed();
        QStringList patterns = parts.at(k + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns)
            pattern = pattern.trimmed();
        patterns.removeAll(QString());
        if (patterns.isEmpty())
            continue;
        const QString list = patterns.join(QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses of the text. Descriptions usually show
        // them already ("BIN Files (*.bin)"); otherwise they are added so Qt filters by them.
        const QString shown = QLatin1Char('(') + list + QLatin1Char(')');
        if (description.endsWith(shown))
            filters.append(description);
        else if (description.isEmpty())
            filters.append(shown);
        else
            filters.append(description + QLatin1Char(' ') + shown);
    }
    return filters;
}

QtFileDialog::QtFileDialog(QWidget *parent)
    : mParent(parent)
{ }

std::optional<QString> QtFileDialog::run(Mode mode, const Settings &settings)
{
    QFileDialog dialog(mParent, settings.title);
    dialog.setAcceptMode(mode == Mode::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(mode == Mode::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = qtNameFilters(settings.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(settings.defaultExtension);

    const QFileInfo initial(settings.fileName);
    if (!settings.fileName.isEmpty() && initial.isAbsolute()) {
        dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    } else {
        if (!settings.directory.isEmpty())
            dialog.setDirectory(settings.directory);
        if (!settings.fileName.isEmpty())
            dialog.selectFile(settings.fileName);
    }

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.constFirst().isEmpty())
        return std::nullopt;
    return QDir::cleanPath(chosen.constFirst());
}

} // namespace velmor

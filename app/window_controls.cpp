#include "app/window_controls.h"

#include "app/window_layout.h"
#include "document/map_geometry.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <cmath>

namespace velmor {

namespace {

constexpr int TileNumberCount = 256;

QFont requestFont(const QStringList &families, QFont::StyleHint hint, double points, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A family installed from several foundries is listed once per foundry, as "Family [Foundry]".
// A wanted name with a foundry matches only that one; without, it matches any.
bool sameFamily(const QString &installed, const QString &wanted)
{
    if (installed.compare(wanted, Qt::CaseInsensitive) == 0)
        return true;
    const qsizetype bracket = installed.indexOf(QLatin1Char('['));
    if (bracket <= 0 || wanted.contains(QLatin1Char('[')))
        return false;
    return QStringView(installed).left(bracket).trimmed().compare(wanted, Qt::CaseInsensitive) == 0;
}

} // namespace

QString firstInstalledFamily(const QStringList &families)
{
    // One read of the installed list. Asking for each family by name instead
    // (QFontDatabase::hasFamily) has the system resolve every missing name as an alias: a few
    // milliseconds of start-up for nothing.
    const QStringList installed = QFontDatabase::families();
    for (const QString &family : families) {
        for (const QString &name : installed) {
            if (sameFamily(name, family))
                return family;
        }
    }
    return QString();
}

const QStringList &sansFamilies()
{
    // The Windows face first; then faces of about its widths, which the texts are measured for
    // (DejaVu, the usual last resort on Linux, runs wider and would clip the title and the notice).
    static const QStringList families{QStringLiteral("MS Sans Serif"),
                                      QStringLiteral("Microsoft Sans Serif"),
                                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")};
    return families;
}

const QStringList &serifFamilies()
{
    static const QStringList families{QStringLiteral("MS Serif"), QStringLiteral("Times New Roman"),
                                      QStringLiteral("Liberation Serif"),
                                      QStringLiteral("Nimbus Roman"), QStringLiteral("Times")};
    return families;
}

// One installed family, looked up once, spares every font request a search through the system's
// fallbacks for the missing ones: that search costs more than building the rest of the window.
QFont sansFont(double points, bool bold)
{
    static const QString installed = firstInstalledFamily(sansFamilies());
    return requestFont(installed.isEmpty() ? sansFamilies() : QStringList{installed},
                       QFont::SansSerif, points, bold);
}

QFont serifFont(double points, bool bold)
{
    static const QString installed = firstInstalledFamily(serifFamilies());
    return requestFont(installed.isEmpty() ? serifFamilies() : QStringList{installed},
                       QFont::Serif, points, bold);
}

void placeTwips(QWidget *widget, const QRect &twips)
{
    widget->setGeometry(twipsToPixels(twips.x()), twipsToPixels(twips.y()),
                        twipsToPixels(twips.width()), twipsToPixels(twips.height()));
}

QString arrayName(const QString &name, int index)
{
    return QStringLiteral("%1(%2)").arg(name).arg(index);
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QRect &twips, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(sansFont(layout::SmallPoints));
    // Plain text only: no text the program shows is meant as markup.
    label->setTextFormat(Qt::PlainText);
    placeTwips(label, twips);
    return label;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QRect &twips,
                        const QString &text, const QFont &font)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setFont(font);
    placeTwips(button, twips);
    return button;
}

QComboBox *makeCombo(QWidget *parent, const QString &name, const QRect &twips, const QString &text,
                     const QFont &font)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->setFont(font);
    combo->setEditText(text);
    // Show a long text from its start, as a freshly opened window would.
    combo->lineEdit()->setCursorPosition(0);
    placeTwips(combo, twips);
    return combo;
}

void setBorder(QLabel *label)
{
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
}

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void fillKeepingText(QComboBox *combo, const QStringList &entries)
{
    const QString text = combo->currentText();
    combo->addItems(entries);
    if (combo->currentText() != text)
        combo->setEditText(text);
    combo->lineEdit()->setCursorPosition(0);
}

void fitEntriesToEditField(QComboBox *combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = true;
    // QLineEdit keeps two pixels free on either side of its text.
    constexpr int TextMargins = 4;
    const int room = combo->style()
                         ->subControlRect(QStyle::CC_ComboBox, &option,
                                          QStyle::SC_ComboBoxEditField, combo)
                         .width()
                     - TextMargins;
    QFont font = combo->font();
    font.setLetterSpacing(QFont::PercentageSpacing, 100);
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (int i = 0; i < combo->count(); ++i)
        widest = qMax(widest, metrics.horizontalAdvance(combo->itemText(i)));
    if (widest <= room || room <= 0)
        return;
    font.setLetterSpacing(QFont::PercentageSpacing, std::floor(100.0 * room / widest));
    combo->setFont(font);
}

QStringList tileNumbers()
{
    QStringList numbers;
    numbers.reserve(TileNumberCount);
    for (int n = 0; n < TileNumberCount; ++n)
        numbers.append(QStringLiteral("%1").arg(n, 2, 16, QLatin1Char('0')).toUpper());
    return numbers;
}

} // namespace velmor

#include "app/window_controls.h"

#include "app/window_layout.h"
#include "editor/map_geometry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmor {

namespace {

constexpr int TileNumberCount = 256;

QFont requestFont(const QString &family, QFont::StyleHint hint, double points, bool bold)
{
    QFont font(family);
    font.setStyleHint(hint);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace

QFont sansFont(double points, bool bold)
{
    return requestFont(QStringLiteral("MS Sans Serif"), QFont::SansSerif, points, bold);
}

QFont serifFont(double points, bool bold)
{
    return requestFont(QStringLiteral("MS Serif"), QFont::Serif, points, bold);
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

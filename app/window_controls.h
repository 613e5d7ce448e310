#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace velmor {

// Small helpers that give the window's controls their names, places and looks.

// "MS Sans Serif" / "MS Serif" where installed, else the first installed face of similar widths,
// else whatever the system offers for the style hint.
QFont sansFont(double points, bool bold = false);
QFont serifFont(double points, bool bold = false);
const QStringList &sansFamilies();
const QStringList &serifFamilies();
// The first of the families that the system has; empty when it has none of them.
QString firstInstalledFamily(const QStringList &families);

// Places a widget at a rectangle given in twips, each value rounded to whole pixels.
void placeTwips(QWidget *widget, const QRect &twips);

// The labels of an array of controls are named "name(index)", e.g. "gridpos(3)".
QString arrayName(const QString &name, int index);

QLabel *makeLabel(QWidget *parent, const QString &name, const QRect &twips, const QString &text);
QPushButton *makeButton(QWidget *parent, const QString &name, const QRect &twips,
                        const QString &text, const QFont &font);
// An editable drop-down that keeps its list as built: typed text is neither added to the list nor
// completed from it, so the text stays exactly what the user typed.
QComboBox *makeCombo(QWidget *parent, const QString &name, const QRect &twips, const QString &text,
                     const QFont &font);

// Sets a label's single-line border and, when opaque, its background colour.
void setBorder(QLabel *label);
void setBackground(QWidget *widget, const QColor &color);

// Adds entries to a combo box without changing its current text (adding to an empty Qt combo box
// would otherwise select the first entry).
void fillKeepingText(QComboBox *combo, const QStringList &entries);

// Narrows the letter spacing of an editable combo box just enough that the widest of its entries
// fits its edit field whole. The box was measured for a narrow bitmap face; the faces that stand
// in for it run a few per cent wider, which would cut the end off the longest course lines.
void fitEntriesToEditField(QComboBox *combo);

// "00" to "FF": the tile numbers in ascending order, upper-case hexadecimal, two digits each.
QStringList tileNumbers();

} // namespace velmor

#include "course/tile_validator.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace velmor {

QValidator *createTileValidator(QObject *parent)
{
    // Fewer than two digits stay allowed while typing; export refuses a cell that ends up so.
    static const QRegularExpression pattern(QStringLiteral("[0-9A-Fa-f]{0,2}"));
    return new QRegularExpressionValidator(pattern, parent);
}

} // namespace velmor

#pragma once

class QObject;
class QValidator;

namespace velmor {

// For the palettes' edit fields (`PickTile`, `Picktile2`): only hexadecimal digits, at most two,
// so a typed text can never shift the bytes of an exported track.
QValidator *createTileValidator(QObject *parent);

} // namespace velmor

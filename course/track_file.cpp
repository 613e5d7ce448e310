#include "course/track_file.h"

#include "platform/byte_span.h"
#include "document/tile_text.h"

#include "course/track_format.h"
#include "document/map_geometry.h"
#include "codec/codec.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <array>

namespace velmor::track {

namespace {

// Command bytes are written with lower-case digits, unlike the tiles, which go in as typed.
constexpr char16_t LowerDigits[] = u"0123456789abcdef";

// One shared string per byte value, so a decoded map costs no allocation per cell.
const std::array<QString, 256> &upperTileTexts()
{
    static const std::array<QString, 256> texts = [] {
        std::array<QString, 256> result;
        for (int value = 0; value < 256; ++value)
            result[value] = QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
        return result;
    }();
    return texts;
}

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::track", text);
}

QString hexOffset(qsizetype offset)
{
    return QStringLiteral("0x%1").arg(offset, 0, 16);
}

DecodedTrack failure(const QString &error, qsizetype offset)
{
    DecodedTrack result;
    result.error = error;
    result.errorOffset = offset;
    return result;
}

} // namespace

QString encode(const QStringList &cells)
{
    const qsizetype n = cells.size();
    // Written through a cursor into a buffer sized for the worst case (a command byte for every
    // cell), then cut to length: appending piece by piece costs more than the encoding itself.
    qsizetype bound = (n + 1) * HexDigitsPerByte;
    for (const QString &text : cells)
        bound += text.size();
    QString out(bound, Qt::Uninitialized);
    QChar *cursor = out.data();
    const auto command = [&cursor](int value) {
        *cursor++ = QChar(LowerDigits[(value >> 4) & 0xF]);
        *cursor++ = QChar(LowerDigits[value & 0xF]);
    };
    const auto tile = [&cursor](const QString &text) {
        std::copy(text.cbegin(), text.cend(), cursor);
        cursor += text.size();
    };

    qsizetype i = 0;
    while (i < n) {
        const QString &first = cells.at(i);
        if (i + 1 < n && cells.at(i + 1) == first) {
            qsizetype run = 2;
            while (i + run < n && cells.at(i + run) == first)
                ++run;
            qsizetype left = run;
            while (left > MaxFillCells) {
                command(FillCommandBase + MaxFillCells - 1);
                tile(first);
                left -= MaxFillCells;
            }
            command(FillCommandBase + int(left) - 1);
            tile(first);
            i += run;
            continue;
        }
        // A copy group closes at the last cell, at the second-to-last cell (so the last cell
        // always stands alone), before a fill begins, or when it is full.
        qsizetype j = i;
        while (!(j == n - 1 || j == n - 2 || cells.at(j + 1) == cells.at(j + 2)
            || j - i + 1 == MaxCopyCells)) {
            ++j;
        }
        command(CopyCommandBase + int(j - i));
        for (qsizetype k = i; k <= j; ++k)
            tile(cells.at(k));
        i = j + 1;
    }
    *cursor++ = QLatin1Char('F');
    *cursor++ = QLatin1Char('F');
    out.truncate(cursor - out.constData());
    return out;
}

std::optional<QByteArray> toBytes(const QString &hexText)
{
    if (hexText.size() % HexDigitsPerByte != 0)
        return std::nullopt;
    QByteArray bytes(hexText.size() / HexDigitsPerByte, Qt::Uninitialized);
    const QChar *text = hexText.constData();
    for (qsizetype k = 0; k < bytes.size(); ++k) {
        const int high = hexDigitValue(text[2 * k]);
        const int low = hexDigitValue(text[2 * k + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[k] = char((high << 4) | low);
    }
    return bytes;
}

int BadCell::row() const
{
    return cellRow(index) + 1;
}

int BadCell::column() const
{
    return cellColumn(index) + 1;
}

bool isTileText(const QString &text)
{
    // One rule for the whole program: the editor's drawing tools check with the same one.
    return isTileNumber(text);
}

std::optional<BadCell> firstBadCell(const QStringList &cellTexts)
{
    for (qsizetype i = 0; i < cellTexts.size(); ++i) {
        if (!isTileText(cellTexts.at(i)))
            return BadCell {int(i), cellTexts.at(i)};
    }
    return std::nullopt;
}

QString cellsDescribed(int tileCount)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    return tr("it describes %1 of %2 cells")
        .arg(english.toString(tileCount), english.toString(CellCount));
}

DecodedTrack decode(const QByteArray &bytes)
{
    // Decode with the format's own bound first, so that an oversized track is told apart from a
    // broken one and the user learns how many tiles it describes.
    const codec::DecodeResult full = codec::decode(byteView(bytes));
    if (!full.ok)
        return failure(QString::fromStdString(full.error), qsizetype(full.errorOffset));
    if (full.output.size() > std::size_t(CellCount)) {
        const codec::DecodeResult bounded = codec::decode(byteView(bytes), CellCount);
        return failure(tr("the file describes %1 tiles, more than the %2 cells of a course map; "
                          "the group at byte offset %3 goes past the last cell")
                           .arg(full.output.size())
                           .arg(CellCount)
                           .arg(hexOffset(qsizetype(bounded.errorOffset))),
            qsizetype(bounded.errorOffset));
    }
    if (full.consumed != std::size_t(bytes.size())) {
        return failure(tr("%1 bytes follow the end marker, from byte offset %2 on")
                           .arg(bytes.size() - qsizetype(full.consumed))
                           .arg(hexOffset(qsizetype(full.consumed))),
            qsizetype(full.consumed));
    }
    DecodedTrack result;
    result.ok = true;
    result.tileCount = int(full.output.size());
    const auto &texts = upperTileTexts();
    result.texts.reserve(CellCount);
    for (const std::uint8_t value : full.output)
        result.texts.append(texts[value]);
    while (result.texts.size() < CellCount)
        result.texts.append(texts[0]);
    return result;
}

} // namespace velmor::track

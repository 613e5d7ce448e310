#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The track file: the course map as groups of tiles. Pure functions over texts and bytes, so
// every rule can be checked in memory.
namespace velmor::track {

// Encodes the cell texts (index order) into the hexadecimal text of a track file, end marker
// included. Texts go in as they stand: "0a" and "0A" are different tiles when groups are formed.
QString encode(const QStringList &cellTexts);

// Reads the hexadecimal text two characters at a time into bytes; nothing when a pair is not two
// hexadecimal digits or the text has an odd length.
std::optional<QByteArray> toBytes(const QString &hexText);

// A cell whose text is not a tile number of exactly two hexadecimal digits. Such a text would
// shift every later byte of the file.
struct BadCell
{
    int index = 0;
    QString text;

    // Counted from 1, as the rulers show them.
    int row() const;
    int column() const;
};

std::optional<BadCell> firstBadCell(const QStringList &cellTexts);
bool isTileText(const QString &text);

// The tiles of a track file, as the map shows them: two upper-case hexadecimal digits each.
struct DecodedTrack
{
    bool ok = false;
    // On success always a full map; cells the file did not describe hold "00".
    QStringList texts;
    // How many tiles the file itself described.
    int tileCount = 0;
    // On failure: what is wrong, and the byte offset in the file where it is.
    QString error;
    qsizetype errorOffset = 0;
};

// "it describes 32 of 16,384 cells": what a track that is no whole course holds, for the refusals
// of every place that takes only whole courses.
QString cellsDescribed(int tileCount);

// Strict and bounded: more tiles than the map holds, a truncated stream, a missing end marker,
// an invalid reference or bytes after the end marker are errors.
DecodedTrack decode(const QByteArray &bytes);

} // namespace velmor::track

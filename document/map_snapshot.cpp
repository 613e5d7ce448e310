#include "document/map_snapshot.h"

#include <QHash>

#include <vector>

namespace velmor {

namespace {

constexpr int MarksPerByte = 4;
constexpr int MarkBits = 2;
constexpr int MaxNarrowIds = 256;

} // namespace

template<typename TextAt, typename MarkAt>
MapSnapshot MapSnapshot::build(TextAt textAt, MarkAt markAt)
{
    MapSnapshot snapshot;

    // Nearly every text is a tile number of two ASCII characters: those find their id in a table
    // indexed by the two characters, the rest in a hash. Ids are given in order of first use.
    constexpr int AsciiPairs = 128 * 128;
    std::vector<quint16> pairIds(AsciiPairs, 0); // id + 1; 0: not seen yet
    QHash<QString, int> otherIds;
    std::vector<quint16> cellIds(CellCount);
    auto idOf = [&snapshot, &pairIds, &otherIds](const QString &text) -> int {
        if (text.size() == 2 && text.at(0).unicode() < 128 && text.at(1).unicode() < 128) {
            quint16 &slot = pairIds[text.at(0).unicode() * 128 + text.at(1).unicode()];
            if (slot == 0) {
                snapshot.mDictionary.append(text);
                slot = quint16(snapshot.mDictionary.size());
            }
            return slot - 1;
        }
        auto it = otherIds.constFind(text);
        if (it == otherIds.constEnd()) {
            it = otherIds.insert(text, int(snapshot.mDictionary.size()));
            snapshot.mDictionary.append(text);
        }
        return it.value();
    };
    for (int i = 0; i < CellCount; ++i)
        cellIds[i] = quint16(idOf(textAt(i)));
    if (snapshot.mDictionary.size() > 1) {
        snapshot.mWideIds = snapshot.mDictionary.size() > MaxNarrowIds;
        snapshot.mIds.resize(snapshot.mWideIds ? 2 * CellCount : CellCount);
        auto *out = reinterpret_cast<unsigned char *>(snapshot.mIds.data());
        for (int i = 0; i < CellCount; ++i) {
            if (snapshot.mWideIds) {
                out[2 * i] = static_cast<unsigned char>(cellIds[i] & 0xff);
                out[2 * i + 1] = static_cast<unsigned char>(cellIds[i] >> 8);
            } else {
                out[i] = static_cast<unsigned char>(cellIds[i]);
            }
        }
    }

    snapshot.mUniformMark = markAt(0);
    bool uniform = true;
    for (int i = 1; i < CellCount && uniform; ++i)
        uniform = markAt(i) == snapshot.mUniformMark;
    if (!uniform) {
        snapshot.mMarks = QByteArray(CellCount / MarksPerByte, '\0');
        auto *out = reinterpret_cast<unsigned char *>(snapshot.mMarks.data());
        for (int i = 0; i < CellCount; ++i) {
            const int shift = (i % MarksPerByte) * MarkBits;
            out[i / MarksPerByte] |= static_cast<unsigned char>(int(markAt(i)) << shift);
        }
    }
    return snapshot;
}

MapSnapshot MapSnapshot::take(const QStringList &texts, const QList<Mark> &marks)
{
    Q_ASSERT(texts.size() == CellCount && marks.size() == CellCount);
    return build([&texts](int i) -> const QString & { return texts.at(i); },
                 [&marks](int i) { return marks.at(i); });
}

MapSnapshot MapSnapshot::take(const CourseMap &map, const QList<int> &indices,
                              const QList<Cell> &cells)
{
    Q_ASSERT(indices.size() == cells.size());
    // Which entry of cells stands in for a map cell, if any.
    std::vector<qint16> entry(CellCount, -1);
    for (qsizetype i = 0; i < indices.size(); ++i)
        entry[indices.at(i)] = qint16(i);
    return build(
        [&](int i) -> const QString & {
            return entry[i] < 0 ? map.text(i) : cells.at(entry[i]).text;
        },
        [&](int i) { return entry[i] < 0 ? map.mark(i) : cells.at(entry[i]).mark; });
}

QStringList MapSnapshot::texts() const
{
    QStringList result;
    if (mIds.isEmpty()) {
        result.fill(mDictionary.first(), CellCount);
        return result;
    }
    result.reserve(CellCount);
    const auto *in = reinterpret_cast<const unsigned char *>(mIds.constData());
    for (int i = 0; i < CellCount; ++i) {
        const int id = mWideIds ? in[2 * i] | (in[2 * i + 1] << 8) : in[i];
        result.append(mDictionary.at(id));
    }
    return result;
}

QList<Mark> MapSnapshot::marks() const
{
    QList<Mark> result;
    if (mMarks.isEmpty()) {
        result.fill(mUniformMark, CellCount);
        return result;
    }
    result.reserve(CellCount);
    const auto *in = reinterpret_cast<const unsigned char *>(mMarks.constData());
    for (int i = 0; i < CellCount; ++i) {
        const int shift = (i % MarksPerByte) * MarkBits;
        result.append(static_cast<Mark>((in[i / MarksPerByte] >> shift) & 0x3));
    }
    return result;
}

qsizetype MapSnapshot::byteSize() const
{
    qsizetype bytes = sizeof(*this) + mIds.size() + mMarks.size();
    for (const QString &text : mDictionary)
        bytes += sizeof(QString) + text.size() * qsizetype(sizeof(QChar));
    return bytes;
}

} // namespace velmor

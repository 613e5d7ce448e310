#include "editor/map_snapshot.h"

#include <QHash>

namespace velmor {

namespace {

constexpr int MarksPerByte = 4;
constexpr int MarkBits = 2;
constexpr int MaxNarrowIds = 256;

} // namespace

MapSnapshot MapSnapshot::take(const QStringList &texts, const QList<Mark> &marks)
{
    Q_ASSERT(texts.size() == CellCount && marks.size() == CellCount);
    MapSnapshot snapshot;

    QHash<QString, int> ids;
    QList<int> cellIds(CellCount);
    for (int i = 0; i < CellCount; ++i) {
        // Courses are drawn in runs of one tile, so the neighbour's id usually fits.
        if (i > 0 && texts.at(i) == texts.at(i - 1)) {
            cellIds[i] = cellIds[i - 1];
            continue;
        }
        auto it = ids.constFind(texts.at(i));
        if (it == ids.constEnd()) {
            it = ids.insert(texts.at(i), int(snapshot.mDictionary.size()));
            snapshot.mDictionary.append(texts.at(i));
        }
        cellIds[i] = it.value();
    }
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

    snapshot.mUniformMark = marks.first();
    bool uniform = true;
    for (Mark mark : marks)
        uniform = uniform && mark == snapshot.mUniformMark;
    if (!uniform) {
        snapshot.mMarks = QByteArray(CellCount / MarksPerByte, '\0');
        auto *out = reinterpret_cast<unsigned char *>(snapshot.mMarks.data());
        for (int i = 0; i < CellCount; ++i) {
            const int shift = (i % MarksPerByte) * MarkBits;
            out[i / MarksPerByte] |= static_cast<unsigned char>(int(marks.at(i)) << shift);
        }
    }
    return snapshot;
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

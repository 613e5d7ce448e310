#include "course/rom_course.h"

#include "codec/codec.h"
#include "course/track_file.h"
#include "document/map_geometry.h"
#include "platform/byte_span.h"
#include "rom/course_placement.h"
#include "rom/rom_identity.h"
#include "rom/rom_image.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace velmor {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::RomCourse", text);
}

QString hex(qint64 value)
{
    return QStringLiteral("0x%1").arg(value, 0, 16);
}

RomCourse failure(RomCourse::Fault fault, qint64 streamOffset, const QString &error)
{
    RomCourse result;
    result.fault = fault;
    result.streamOffset = streamOffset;
    result.error = error;
    return result;
}

} // namespace

bool isRomPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QLatin1String("smc"), Qt::CaseInsensitive) == 0
           || suffix.compare(QLatin1String("sfc"), Qt::CaseInsensitive) == 0;
}

RomCourse readRomCourse(const QByteArray &rom, qint64 courseOffset)
{
    const qint64 size = rom.size();
    const codec::ByteView file = byteView(rom);
    std::string notRom;
    const std::optional<rom::RomImage> image = rom::RomImage::open(file, &notRom);
    if (!image)
        return failure(RomCourse::Fault::NotRom, courseOffset, QString::fromStdString(notRom));
    // Another region's image holds something else at the US places.
    const rom::RomIdentity identity = rom::identifyRom(file);
    if (const std::string region = rom::regionRefusal(identity); !region.empty())
        return failure(RomCourse::Fault::NotRom, courseOffset, QString::fromStdString(region));
    const bool headerless = !image->hasHeader();
    // Where the course list's offset lies in this file, by the ROM's one header rule.
    const std::optional<std::size_t> game =
        courseOffset < 0 ? std::nullopt : rom::gameOffsetOfListed(std::size_t(courseOffset));
    qint64 start =
        game ? qint64(image->fileOffset(*game)) : courseOffset - qint64(image->headerSize());
    // A course that outgrew its slot lives where its pointer sends it now.
    if (const rom::Course *course = game ? rom::courseStartingAt(*game) : nullptr;
        course && identity.isUsGame()) {
        if (const rom::HomeResult home = rom::courseHome(file, course->id); home.home)
            start = qint64(home.home->fileOffset);
    }
    if (!game || start >= size) {
        return failure(RomCourse::Fault::OutsideRom, start,
            tr("the course lies at offset %1%2, outside this ROM of %3 bytes")
                .arg(hex(start),
                    headerless ? tr(" (%1 less the missing copier header)").arg(hex(courseOffset))
                               : QString())
                .arg(size));
    }

    const codec::DecodeResult outer = codec::decode(file.subspan(std::size_t(start)));
    if (!outer.ok) {
        return failure(RomCourse::Fault::NoStream, start,
            tr("there is no valid compressed stream at offset %1; at offset %2: %3")
                .arg(hex(start), hex(start + qint64(outer.errorOffset)),
                    QString::fromStdString(outer.reason)));
    }

    // The game stops at the inner stream's end marker; bytes the outer stream adds after it are
    // never read, so they do not make the course unreadable.
    const codec::DecodeResult inner = codec::decode(outer.output);
    if (!inner.ok) {
        return failure(RomCourse::Fault::NoTrack, start,
            tr("the stream at offset %1 holds no track; at byte %2 of its %3 decoded bytes: %4")
                .arg(hex(start), hex(qint64(inner.errorOffset)))
                .arg(outer.output.size())
                .arg(QString::fromStdString(inner.reason)));
    }
    if (inner.output.size() > std::size_t(CellCount)) {
        return failure(RomCourse::Fault::NoTrack, start,
            tr("the stream at offset %1 describes %2 tiles, more than the %3 cells of a course map")
                .arg(hex(start))
                .arg(inner.output.size())
                .arg(CellCount));
    }
    const QByteArray trackBytes =
        toByteArray(codec::ByteView(outer.output).first(inner.consumed));
    const track::DecodedTrack decoded = track::decode(trackBytes);
    if (!decoded.ok) {
        return failure(RomCourse::Fault::NoTrack, start,
            tr("the stream at offset %1 holds no course map: %2").arg(hex(start), decoded.error));
    }

    RomCourse result;
    result.texts = decoded.texts;
    result.tileCount = decoded.tileCount;
    result.streamOffset = start;
    return result;
}

} // namespace velmor

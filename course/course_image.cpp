#include "course/course_image.h"

#include "course/course_blocks.h"
#include "course/export_track.h"
#include "course/rom_course.h"
#include "course/track_file.h"
#include "document/course_document.h"
#include "document/object_areas_value.h"
#include "document/race_layers.h"
#include "document/tile_text.h"
#include "platform/byte_span.h"
#include "rom/checksum.h"
#include "rom/course_data.h"
#include "rom/course_placement.h"
#include "rom/object_areas.h"
#include "rom/rom_identity.h"
#include "rom/rom_image.h"

namespace velmor {

namespace {

// The layout's block: the cells as a track, compressed where the course lives in this ROM, or
// moved into an expanded ROM's added banks when it outgrows that (rom::insertCourse).
struct LayoutWrite
{
    bool ok = false;
    codec::Bytes rom;
    QString message; // the insertion's line, or why not
    bool needsExpansion = false; // refused only for want of room in a 4 Mbit ROM
};

LayoutWrite writeLayout(codec::ByteView romFile, const QStringList &texts, const CourseRef &course)
{
    LayoutWrite result;
    if (const std::optional<track::BadCell> bad = track::firstBadCell(texts)) {
        result.message = badCellRefusal(*bad);
        return result;
    }
    const std::optional<QByteArray> track = track::toBytes(track::encode(texts));
    if (!track) {
        result.message = CourseImage::tr("The course could not be encoded. Nothing was written.");
        return result;
    }
    rom::PlaceOutcome inserted = rom::insertCourse(romFile, byteView(*track), course.id());
    result.message = QString::fromStdString(inserted.message);
    result.needsExpansion = inserted.needsExpansion;
    if (!inserted.ok)
        return result;
    // What the game will read there, through the course's pointer: the stream, then the track.
    const RomCourse back = readRomCourse(toByteArray(inserted.rom), *course.listedOffset());
    if (!back.ok() || back.texts != texts) {
        result.message = CourseImage::tr("the layout written does not read back as the course");
        return result;
    }
    result.ok = true;
    result.rom = std::move(inserted.rom);
    return result;
}

// "Mario Circuit 1: wrote the layout (wrote 1210 bytes at 0x68f2c, ...), the items, the start
// grid", then what was not written and why.
QString summary(const QString &course, const QStringList &written, const QString &layoutLine,
                const QStringList &notes)
{
    QStringList parts;
    for (const QString &block : written) {
        parts.append(block == CourseBlocks::layoutName() && !layoutLine.isEmpty()
                         ? CourseImage::tr("the %1 (%2)").arg(block, layoutLine)
                         : CourseImage::tr("the %1").arg(block));
    }
    QString line = written.isEmpty()
        ? CourseImage::tr("%1: the ROM holds this course already; nothing changed").arg(course)
        : CourseImage::tr("%1: wrote %2").arg(course, parts.join(QStringLiteral(", ")));
    for (const QString &note : notes)
        line += QStringLiteral("; ") + note;
    return line;
}

// The document's course as values. Where a layer could not be read from the ROM it holds no value
// of its own: the course takes one of the right form, and the block is named as not to be written.
rom::CourseData raceOf(const CourseDocument &document, UnreadBlocks *unread)
{
    if (std::optional<rom::CourseData> whole = document.courseData())
        return *whole;
    for (const Layer *layer : document.layers()) {
        // The targets are the zones' AI, named once as the AI.
        if (!layer->unreadableReason().isEmpty() && layer != &document.targets())
            unread->insert(layer->key(), layer->unreadableReason());
    }
    rom::CourseData course;
    course.id = document.course().id();
    course.name = document.course().name().toStdString();
    course.theme = document.theme();
    for (const QString &text : document.map().texts())
        course.layout.push_back(std::uint8_t(tileNumberOf(text)));
    course.items = document.items().value();
    course.objects = document.objects().value();
    course.start = document.start().value();
    if (rom::isBattleCourse(course.id) && std::holds_alternative<rom::RaceStart>(course.start))
        course.start = rom::BattleStart {};
    course.lap = document.lap().value();
    course.ai = document.zones().value();
    return course;
}

CourseImage refused(const QString &message)
{
    CourseImage image;
    image.outcome = CourseImage::Outcome::Refused;
    image.message = message;
    return image;
}

CourseImage refusedLayout(const CourseRef &course, const LayoutWrite &layout)
{
    CourseImage image = refused(CourseImage::tr("the layout of %1: %2").arg(course.name(), layout.message));
    image.needsExpansion = layout.needsExpansion;
    return image;
}

// The zone numbers that choose the live object group, as the race order's edits moved them. They
// lie in a record of the objects' kind: when the theme gave the objects another kind, the record
// read belongs to the old one and is not written into the new one's.
void writeObjectAreas(CourseImage &image, const CourseDocument &document, const QByteArray &before)
{
    const std::optional<rom::ObjectAreas> &areas = document.objectAreas().value();
    const int id = document.course().id();
    const std::optional<rom::RomImage> old = rom::RomImage::open(byteView(before));
    const std::optional<rom::RomImage> now = rom::RomImage::open(byteView(image.rom));
    if (!areas || !old || !now)
        return;
    const rom::LayerRead<rom::ObjectAreas> held = rom::readObjectAreas(*now, id);
    if (held.ok() && *held.value == *areas)
        return;
    if (rom::readObjectKind(*old, id) != rom::readObjectKind(*now, id)) {
        image.message += CourseImage::tr("; the object areas were not written: the theme gave the "
                                         "objects another kind");
        return;
    }
    codec::Bytes bytes = toBytes(image.rom);
    const std::size_t header = now->headerSize();
    if (const std::string error = rom::writeObjectAreas(rom::GameBytes(bytes).subspan(header), id, *areas);
        !error.empty()) {
        image.message += CourseImage::tr("; the object areas were not written: %1")
                             .arg(QString::fromStdString(error));
        return;
    }
    rom::fixChecksum(bytes, header);
    image.rom = toByteArray(bytes);
    image.message = image.written.isEmpty()
        ? CourseImage::tr("%1: wrote the object areas").arg(document.course().name())
        : image.message + CourseImage::tr("; wrote the object areas");
    image.written.append(CourseImage::tr("object areas"));
}

} // namespace

CourseImage CourseImage::build(const CourseDocument &document, const QByteArray &romFile,
                               const SharingAnswers &answers)
{
    const CourseChoice &choice = document.courseChoice();
    if (!choice.course.isValid())
        return refused(choice.whyNoCourse() + tr(" to save the course into a ROM."));
    const QStringList &texts = document.map().texts();
    if (const std::optional<track::BadCell> bad = track::firstBadCell(texts))
        return refused(badCellRefusal(*bad));
    if (document.raceCourse() == choice.course) {
        UnreadBlocks unread;
        const rom::CourseData course = raceOf(document, &unread);
        CourseImage image = build(course, romFile, answers, unread);
        if (image.ok)
            writeObjectAreas(image, document, romFile);
        return image;
    }
    // No race of this course in the document: the ROM's race blocks stay as they are.
    const LayoutWrite layout = writeLayout(byteView(romFile), texts, choice.course);
    if (!layout.ok)
        return refusedLayout(choice.course, layout);
    CourseImage image;
    image.outcome = Outcome::Built;
    image.ok = true;
    image.rom = toByteArray(layout.rom);
    image.written = {CourseBlocks::layoutName()};
    image.message = tr("%1: %2").arg(choice.course.name(), layout.message);
    return image;
}

CourseImage CourseImage::build(const rom::CourseData &course, const QByteArray &romFile,
                               const SharingAnswers &answers, const UnreadBlocks &unread)
{
    const CourseRef ref = CourseRef::fromId(course.id);
    if (!ref.isValid())
        return refused(tr("No course of the game has the ID %1.").arg(course.id));
    std::string notRom;
    const std::optional<rom::RomImage> image = rom::RomImage::open(byteView(romFile), &notRom);
    if (!image)
        return refused(QString::fromStdString(notRom));
    // The game's data goes only where the US image keeps it.
    if (const std::string other = rom::usWriteRefusal(rom::identifyRom(byteView(romFile)));
        !other.empty())
        return refused(QString::fromStdString(other));

    CourseBlocks blocks(*image, course, unread);
    if (!blocks.refusal().isEmpty())
        return refused(blocks.refusal());
    // Every question before any work: a No leaves nothing half-decided.
    if (const std::optional<QString> no = blocks.ask(answers)) {
        CourseImage cancelled;
        cancelled.outcome = Outcome::Cancelled;
        cancelled.message = *no;
        return cancelled;
    }

    codec::Bytes bytes = toBytes(romFile);
    QStringList written;
    QString layoutLine;
    const QStringList texts = tileTexts(course.layout);
    const RomCourse now = readRomCourse(romFile, *ref.listedOffset());
    if (!now.ok() || now.texts != texts) {
        LayoutWrite layout = writeLayout(byteView(romFile), texts, ref);
        if (!layout.ok)
            return refusedLayout(ref, layout);
        bytes = std::move(layout.rom);
        written.append(CourseBlocks::layoutName());
        layoutLine = layout.message;
    }
    const rom::GameBytes game = rom::GameBytes(bytes).subspan(image->headerSize());
    if (const QString error = blocks.write(game); !error.isEmpty())
        return refused(error);
    if (const QString error = blocks.check(bytes); !error.isEmpty())
        return refused(error);
    // The race's blocks changed the game's bytes after the layout's insertion summed them.
    if (!blocks.written().isEmpty())
        rom::fixChecksum(bytes, image->headerSize());

    CourseImage built;
    built.outcome = Outcome::Built;
    built.ok = true;
    built.rom = toByteArray(bytes);
    built.written = written + blocks.written();
    built.message = summary(ref.name(), built.written, layoutLine, blocks.notes());
    return built;
}

} // namespace velmor

#include "course/course_blocks.h"

#include "rom/course_layers.h"

namespace velmor {

namespace {

QString label(int id)
{
    return QString::fromStdString(rom::courseLabel(id));
}

QStringList labels(const std::vector<int> &ids)
{
    QStringList names;
    for (const int id : ids)
        names.append(label(id));
    return names;
}

// A block differs when the ROM's cannot be read (the write then repairs it) or holds other values.
template <typename T>
bool differs(const rom::LayerRead<T> &now, const T &wanted)
{
    return !now.ok() || *now.value != wanted;
}

// What the game reads of a course's AI: the spare target records and the unknown bit of a speed
// byte, which a course file does not carry, do not make a set differ.
bool readsAlike(const rom::CourseAi &a, const rom::CourseAi &b)
{
    if (a.zones != b.zones || a.targets.size() != b.targets.size())
        return false;
    for (std::size_t i = 0; i < a.targets.size(); ++i) {
        const rom::Target &s = a.targets[i], &t = b.targets[i];
        if (s.x != t.x || s.y != t.y || s.speed != t.speed)
            return false;
    }
    return true;
}

// The block a layer of the document shows, by the layer's key.
QString blockOfLayer(const QString &key)
{
    static const QMap<QString, QString> names {
        {QStringLiteral("items"), CourseBlocks::tr("items")},
        {QStringLiteral("objects"), CourseBlocks::tr("objects")},
        {QStringLiteral("start"), CourseBlocks::tr("start grid")},
        {QStringLiteral("lap"), CourseBlocks::tr("lap line")},
        {QStringLiteral("zones"), CourseBlocks::tr("AI")},
    };
    return names.value(key, key);
}

} // namespace

QString CourseBlocks::layoutName()
{
    return tr("layout");
}

CourseBlocks::CourseBlocks(const rom::RomImage &rom, const rom::CourseData &course,
                           const UnreadBlocks &unread)
    : mCourse(course)
    , mName(label(course.id))
{
    if (const std::string problem = rom::courseDataProblem(course); !problem.empty()) {
        mRefusal = tr("%1: %2").arg(mName, QString::fromStdString(problem));
        return;
    }
    const int id = course.id;
    const rom::CourseLayers now = rom::readCourseLayers(rom, id);
    mTheme = differs(now.theme, course.theme);
    // A course's objects are drawn in the kind its byte names: a new theme takes its own kind.
    if (mTheme && rom::isRaceCourse(id)) {
        const std::uint8_t kind = rom::objectKindOf(course.theme);
        if (rom::readObjectKind(rom, id) != kind)
            mObjectKind = kind;
    }
    mItems = differs(now.items, course.items);
    mObjects = course.objects && differs(now.objects, course.objects);
    mStart = differs(now.start, course.start);
    if (mStart)
        mStartSharers = now.startSharers;
    mLap = course.lap && differs(now.lap, course.lap);
    const auto leave = [&unread](bool &block, const char *key) {
        block = block && !unread.contains(QLatin1String(key));
    };
    leave(mItems, "items");
    leave(mObjects, "objects");
    leave(mStart, "start");
    leave(mLap, "lap");
    for (auto it = unread.begin(); it != unread.end(); ++it)
        mNotes.append(tr("nothing written into the %1 (the ROM's cannot be read: %2)")
                          .arg(blockOfLayer(it.key()), it.value()));

    if (unread.contains(QStringLiteral("zones"))
        || (now.ai.ok() && readsAlike(*now.ai.value, course.ai)))
        return;
    rom::LayerRead<rom::AiSets> sets = rom::readAiSets(rom);
    if (!sets.ok()) {
        // Repacking needs every course's AI: without it the rest is still written.
        mNotes.append(tr("the AI was not written, as this ROM's AI cannot be read: %1")
                          .arg(QString::fromStdString(sets.error)));
        return;
    }
    mAiSharers = sets.value->sharers(id);
    mAi = std::move(*sets.value);
    mAiBefore = mAi->of(id);
    mAi->setFor(id) = course.ai;
}

std::optional<QString> CourseBlocks::ask(const SharingAnswers &answers)
{
    if (!mRefusal.isEmpty())
        return mRefusal;
    if (mStart && !mStartSharers.empty()) {
        const QStringList others = labels(mStartSharers);
        if (!answers.changeSharedStart || !answers.changeSharedStart(mName, others)) {
            return tr("Nothing was written: the start record %1 shares with %2 stays as it is")
                       .arg(mName, others.join(QStringLiteral(", ")))
                + answers.declinedHint;
        }
    }
    if (mAi && !mAiSharers.empty()) {
        const QStringList others = labels(mAiSharers);
        const SharingAnswers::Ai answer =
            answers.sharedAi ? answers.sharedAi(mName, others) : SharingAnswers::Ai::Cancel;
        if (answer == SharingAnswers::Ai::Cancel) {
            return tr("Nothing was written: the AI %1 shares with %2 stays as it is")
                       .arg(mName, others.join(QStringLiteral(", ")))
                + answers.declinedHint;
        }
        if (answer == SharingAnswers::Ai::Split) {
            // The others keep the set as the ROM holds it; this course takes the new one alone.
            mAi->setFor(mCourse.id) = mAiBefore;
            mAi->split(mCourse.id);
            mAi->setFor(mCourse.id) = mCourse.ai;
            mAiSharers.clear();
        }
    }
    return std::nullopt;
}

QString CourseBlocks::write(rom::GameBytes game) const
{
    const int id = mCourse.id;
    std::string error;
    if (mTheme)
        error = rom::writeTheme(game, id, mCourse.theme);
    if (error.empty() && mObjectKind)
        error = rom::writeObjectKind(game, id, *mObjectKind);
    if (error.empty() && mItems)
        error = rom::writeOverlayItems(game, id, mCourse.items);
    if (error.empty() && mObjects)
        error = rom::writeObjectPositions(game, id, *mCourse.objects);
    if (error.empty() && mStart)
        error = rom::writeStartGrid(game, id, mCourse.start);
    if (error.empty() && mLap)
        error = rom::writeLapLine(game, id, *mCourse.lap);
    if (!error.empty())
        return QString::fromStdString(error);
    if (mAi) {
        if (const std::string full = rom::repackAi(game, *mAi); !full.empty())
            return tr("%1: the AI block: %2").arg(mName, QString::fromStdString(full));
    }
    return {};
}

QString CourseBlocks::check(codec::ByteView romFile) const
{
    const std::optional<rom::RomImage> rom = rom::RomImage::open(romFile);
    if (!rom)
        return tr("%1: the new ROM is no ROM").arg(mName);
    const int id = mCourse.id;
    const rom::CourseLayers back = rom::readCourseLayers(*rom, id);
    const auto wrong = [this](const QString &block) {
        return tr("%1: the %2 written does not read back as the course; nothing was written")
            .arg(mName, block);
    };
    if (mTheme && differs(back.theme, mCourse.theme))
        return wrong(tr("theme"));
    if (mObjectKind && rom::readObjectKind(*rom, id) != mObjectKind)
        return wrong(tr("object kind"));
    if (mItems && differs(back.items, mCourse.items))
        return wrong(tr("items"));
    if (mObjects && differs(back.objects, mCourse.objects))
        return wrong(tr("objects"));
    if (mStart && differs(back.start, mCourse.start))
        return wrong(tr("start grid"));
    if (mLap && differs(back.lap, mCourse.lap))
        return wrong(tr("lap line"));
    if (!mAi)
        return {};
    const rom::LayerRead<rom::AiSets> sets = rom::readAiSets(*rom);
    if (!sets.ok())
        return wrong(tr("AI"));
    for (int other = 0; other < rom::CourseCount; ++other) {
        if (sets.value->of(other) != mAi->of(other) || sets.value->sharers(other) != mAi->sharers(other))
            return other == id ? wrong(tr("AI"))
                               : tr("%1: the AI of %2 does not read back as it was; nothing was "
                                    "written")
                                     .arg(mName, label(other));
    }
    return {};
}

QStringList CourseBlocks::written() const
{
    QStringList names;
    const std::pair<bool, QString> blocks[] = {
        {mTheme, tr("theme")},     {mObjectKind.has_value(), tr("object kind")},
        {mItems, tr("items")},     {mObjects, tr("objects")},
        {mStart, tr("start grid")}, {mLap, tr("lap line")},
        {mAi.has_value(), tr("AI")},
    };
    for (const auto &[changed, name] : blocks) {
        if (changed)
            names.append(name);
    }
    return names;
}

} // namespace velmor

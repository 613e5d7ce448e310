#include "document/course_document.h"

#include "document/layer.h"
#include "document/map_history.h"
#include "document/object_areas_value.h"
#include "document/race_layers.h"
#include "document/tile_layer.h"
#include "document/tile_text.h"

#include "rom/course_layers.h"
#include "rom/item_kinds.h"

#include <QCryptographicHash>
#include <QUndoStack>

#include <functional>

namespace velmor {

struct CourseDocument::RaceState
{
    rom::Theme theme;
    rom::OverlayItems items;
    std::optional<rom::ObjectPositions> objects;
    rom::StartGrid start;
    std::optional<rom::LapLine> lap;
    rom::CourseAi ai;
    std::optional<rom::ObjectAreas> areas;
    CourseRef race;

    bool operator==(const RaceState &) const = default;
};

CourseDocument::RaceState CourseDocument::raceState() const
{
    return {mTheme, mItems->value(), mObjects->value(), mStart->value(), mLap->value(),
        mZones->value(), mAreas->value(), mRaceCourse};
}

CourseDocument::CourseDocument(QObject *parent)
    : QObject(parent)
    , mStack(new QUndoStack(this))
    , mHistory(new MapHistory(mMap, mStack, this))
    , mTiles(new TileLayer(mMap, this))
    , mItems(new ItemsLayer(this))
    , mObjects(new ObjectsLayer(this))
    , mStart(new StartLayer(this))
    , mLap(new LapLayer(this))
    , mZones(new ZonesLayer(this))
    , mTargets(new TargetsLayer(*mZones, this))
    , mAreas(new ObjectAreasValue(mStack, this))
{
    // So that the layer a change came from also travels through queued connections and spies.
    qRegisterMetaType<velmor::Layer *>();
    mChoice = CourseChoice::fromText(initialCourseText());
    addLayer(mTiles);
    // The zones lie under everything else of the race, the targets' path over them; the race's
    // layers stay hidden until a course that has them is opened from a ROM.
    for (Layer *layer : QList<Layer *> {mZones, mTargets, mLap, mItems, mObjects, mStart}) {
        layer->setVisible(false);
        addLayer(layer);
    }
    mRaceSaved = std::make_shared<const RaceState>(raceState());
}

CourseDocument::~CourseDocument()
{
    // The steps look at the map and the layers: they go first.
    mStack->clear();
    delete mHistory;
    mHistory = nullptr;
}

Layer *CourseDocument::layer(const QString &key) const
{
    for (Layer *layer : mLayers) {
        if (layer->key() == key)
            return layer;
    }
    return nullptr;
}

void CourseDocument::addLayer(Layer *layer)
{
    layer->setParent(this);
    layer->setUndoStack(mStack);
    mLayers.append(layer);
    connect(layer, &Layer::changed, this,
        [this, layer](const QRect &cells) { emit layerChanged(layer, cells); });
    emit layerAdded(layer);
}

void CourseDocument::setCourseChoice(const CourseChoice &choice)
{
    const bool otherCourse = !(choice.course == mChoice.course);
    mChoice = choice;
    emit courseChoiceChanged();
    if (otherCourse)
        emit courseChanged(mChoice.course);
}

void CourseDocument::setRom(const QString &path, const QByteArray &bytes)
{
    mRomPath = path;
    mRomFingerprint = fingerprintOf(bytes);
    // Also for the same path: its bytes changed, and what is read from them must follow.
    emit romChanged(path);
}

QByteArray CourseDocument::fingerprintOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

namespace {

class ThemeStep : public QUndoCommand
{
public:
    ThemeStep(std::function<void(rom::Theme)> apply, rom::Theme before, rom::Theme after,
              const QString &text)
        : QUndoCommand(text)
        , mApply(std::move(apply))
        , mBefore(before)
        , mAfter(after)
    { }
    void redo() override { mApply(mAfter); }
    void undo() override { mApply(mBefore); }

private:
    std::function<void(rom::Theme)> mApply;
    rom::Theme mBefore;
    rom::Theme mAfter;
};

// Whose race the layers hold, along with the step that replaced them.
class RaceCourseStep : public QUndoCommand
{
public:
    RaceCourseStep(CourseRef &held, CourseRef after)
        : mHeld(held)
        , mBefore(held)
        , mAfter(after)
    { }
    void redo() override { mHeld = mAfter; }
    void undo() override { mHeld = mBefore; }

private:
    CourseRef &mHeld;
    CourseRef mBefore;
    CourseRef mAfter;
};

template <typename T, typename L>
void loadLayer(L &layer, const rom::LayerRead<T> &read)
{
    if (read.ok())
        layer.load(*read.value);
    else
        layer.loadUnreadable(QString::fromStdString(read.error));
}

} // namespace

void CourseDocument::setTheme(rom::Theme theme, const QString &undoText)
{
    if (theme == mTheme)
        return;
    const auto apply = [this](rom::Theme to) {
        if (to == mTheme)
            return;
        mTheme = to;
        emit themeChanged(to);
    };
    mStack->push(new ThemeStep(apply, mTheme, theme, undoText));
}

QString CourseDocument::describeRaceAt(QPointF coursePixel) const
{
    QStringList parts;
    for (const Layer *layer : {static_cast<const Layer *>(mItems), static_cast<const Layer *>(mObjects),
                               static_cast<const Layer *>(mStart), static_cast<const Layer *>(mLap),
                               static_cast<const Layer *>(mZones), static_cast<const Layer *>(mTargets)}) {
        if (!layer->isVisible() || !layer->unreadableReason().isEmpty())
            continue;
        const QString part = layer->describeAt(coursePixel);
        if (!part.isEmpty())
            parts.append(part);
    }
    return parts.join(QStringLiteral(" · "));
}

void CourseDocument::loadRace(const rom::CourseLayers &layers)
{
    if (layers.theme.ok() && *layers.theme.value != mTheme) {
        mTheme = *layers.theme.value;
        emit themeChanged(mTheme);
    }
    loadLayer(*mItems, layers.items);
    loadLayer(*mObjects, layers.objects);
    loadLayer(*mStart, layers.start);
    loadLayer(*mLap, layers.lap);
    loadLayer(*mZones, layers.ai);
    mRaceCourse = CourseRef::fromId(layers.id);
    mAreas->load(layers.areas.ok() ? *layers.areas.value : std::nullopt,
        QString::fromStdString(layers.areas.error));
    mBehaviours = layers.behaviours;
    mPatterns = layers.patterns;
    mStack->clear();
    setClean();
}

const rom::TileBehaviour *CourseDocument::tileBehaviour() const
{
    const std::optional<rom::TileBehaviour> &known = mBehaviours[std::size_t(mTheme) / 2];
    return known ? &*known : nullptr;
}

std::vector<int> CourseDocument::patternTiles(int pattern) const
{
    if (pattern >= 0 && pattern < int(mPatterns.size()) && mPatterns[std::size_t(pattern)])
        return *mPatterns[std::size_t(pattern)];
    return rom::patternTiles(pattern);
}

std::optional<rom::CourseData> CourseDocument::courseData() const
{
    const rom::Course *course = this->course().course();
    if (!course)
        return std::nullopt;
    for (const Layer *layer : {static_cast<const Layer *>(mItems), static_cast<const Layer *>(mObjects),
                               static_cast<const Layer *>(mStart), static_cast<const Layer *>(mLap),
                               static_cast<const Layer *>(mZones)}) {
        if (!layer->unreadableReason().isEmpty())
            return std::nullopt;
    }
    rom::CourseData data;
    data.id = course->id;
    data.name = std::string(course->name);
    data.theme = mTheme;
    data.layout.reserve(std::size_t(CellCount));
    for (const QString &text : mMap.texts()) {
        const int tile = tileNumberOf(text);
        if (tile < 0)
            return std::nullopt;
        data.layout.push_back(std::uint8_t(tile));
    }
    data.items = mItems->value();
    data.objects = mObjects->value();
    data.start = mStart->value();
    data.lap = mLap->value();
    data.ai = mZones->value();
    return data;
}

void CourseDocument::replaceCourse(const rom::CourseData &course, const QString &undoText)
{
    QStringList texts;
    texts.reserve(CellCount);
    for (int i = 0; i < CellCount; ++i) {
        const int tile = std::size_t(i) < course.layout.size() ? course.layout[std::size_t(i)] : 0;
        texts.append(QStringLiteral("%1").arg(tile, 2, 16, QLatin1Char('0')).toUpper());
    }
    // One step for the user: the layout's own step and every layer's join it.
    mStack->beginMacro(undoText);
    mHistory->begin(undoText);
    mMap.setAll(texts, mMap.marks());
    mHistory->end();
    setTheme(course.theme, undoText);
    mItems->replace(course.items, undoText);
    mObjects->replace(course.objects, undoText);
    mStart->replace(course.start, undoText);
    mLap->replace(course.lap, undoText);
    mZones->replace(course.ai, undoText);
    mStack->push(new RaceCourseStep(mRaceCourse, CourseRef::fromId(course.id)));
    mStack->endMacro();
}

bool CourseDocument::isModified() const
{
    return !mStack->isClean() || isRaceModified();
}

bool CourseDocument::isRaceModified() const
{
    // Compared by value: undoing back to the saved race is no change, whatever the tiles did.
    return raceState() != *mRaceSaved;
}

void CourseDocument::setClean()
{
    mStack->setClean();
    mRaceSaved = std::make_shared<const RaceState>(raceState());
}

void CourseDocument::setTilesClean()
{
    // The race's saved state stays what it was: that of the load, the last whole save, or the
    // fresh document's.
    mStack->setClean();
}

} // namespace velmor

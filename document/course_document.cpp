#include "document/course_document.h"

#include "document/layer.h"
#include "document/map_history.h"
#include "document/tile_layer.h"

#include <QCryptographicHash>
#include <QUndoStack>

namespace velmor {

CourseDocument::CourseDocument(QObject *parent)
    : QObject(parent)
    , mStack(new QUndoStack(this))
    , mHistory(new MapHistory(mMap, mStack, this))
    , mTiles(new TileLayer(mMap, this))
{
    // So that the layer a change came from also travels through queued connections and spies.
    qRegisterMetaType<velmor::Layer *>();
    mChoice = CourseChoice::fromText(initialCourseText());
    addLayer(mTiles);
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

bool CourseDocument::isModified() const
{
    return !mStack->isClean();
}

void CourseDocument::setClean()
{
    mStack->setClean();
}

} // namespace velmor

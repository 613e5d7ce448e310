#pragma once

#include "course/track_file.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <functional>
#include <optional>

namespace velmor {

namespace rom {
struct Course;
}

// How many bytes the map takes in a course's slot: the map encoded as a track file and that
// compressed once more, exactly as insertion writes it, against the room the course has.
struct Budget
{
    enum class State {
        Fits,
        TooBig,
        BadCell, // a cell holds no tile number, so the map cannot be encoded
        NoCourse // the course list names no course
    };
    State state = State::NoCourse;
    std::size_t bytes = 0;
    std::size_t capacity = 0;
    QString courseName;
    track::BadCell badCell;

    bool fits() const { return state == State::Fits; }
    std::size_t excess() const { return bytes > capacity ? bytes - capacity : 0; }
    // "Mario Circuit 1: 1,545 of 2,047 bytes", with the excess when it does not fit, or what keeps
    // the map from being measured.
    QString text() const;
};

// The compressed size of a map as insertion writes it; nothing when a cell holds no tile number
// (then *bad, when given, names the first such cell).
std::optional<std::size_t> compressedSize(
    const QStringList &cellTexts, track::BadCell *bad = nullptr);
Budget measureBudget(const QStringList &cellTexts, const rom::Course *course, std::size_t capacity);

// The room a course has where it lives now: in the US game its slot or its block in the added
// banks (rom::courseHome); else where the ROM's bytes hold the course's stream (the original slot
// while the ROM's table agrees, see rom::slotAt); else the course's original slot.
std::size_t courseCapacity(const rom::Course &course, const QByteArray &romFile);

// Keeps a budget of the map up to date without holding up painting. A change only marks the map
// as changed; the measuring runs on a thread of its own, at most one at a time, and takes the map
// as it is when it starts, so changes made meanwhile are all measured next time: the newest map
// wins. Taking the map only then matters: a shared copy makes the model's next write copy all its
// cells, which must not happen on every stroke move.
class SlotBudget : public QObject
{
    Q_OBJECT

public:
    explicit SlotBudget(QObject *parent = nullptr);
    ~SlotBudget() override;

    using MapSource = std::function<QStringList()>;
    // Where the map is read from when a measuring starts.
    void setMapSource(MapSource source) { mSource = std::move(source); }
    // The course measured against, and its room; nullptr when the list names none. Measures again.
    void setCourse(const rom::Course *course, std::size_t capacity);
    // The map changed: measure again as soon as the running measuring (if any) ends.
    void mapChanged();

    bool isMeasuring() const { return mRunning; }
    // The last budget delivered.
    const Budget &budget() const { return mBudget; }

signals:
    void budgetChanged(const velmor::Budget &budget);

private:
    void startNext();

    QThreadPool mPool;
    MapSource mSource;
    const rom::Course *mCourse = nullptr;
    std::size_t mCapacity = 0;
    bool mPending = false;
    bool mRunning = false;
    Budget mBudget;
};

} // namespace velmor

Q_DECLARE_METATYPE(velmor::Budget)

#include "course/slot_budget.h"

#include "platform/byte_span.h"
#include "codec/codec.h"
#include "rom/course_catalogue.h"
#include "rom/course_placement.h"
#include "rom/rom_image.h"
#include "rom/rom_streams.h"

#include <QCoreApplication>
#include <QLocale>

namespace velmor {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::SlotBudget", text);
}

// Thousands grouped as "1,545", whatever the machine's own settings are.
QString grouped(std::size_t value)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(qulonglong(value));
}

} // namespace

QString Budget::text() const
{
    switch (state) {
    case State::Fits:
        return tr("%1: %2 of %3 bytes").arg(courseName, grouped(bytes), grouped(capacity));
    case State::TooBig:
        return tr("%1: %2 of %3 bytes, %4 too many")
            .arg(courseName, grouped(bytes), grouped(capacity), grouped(excess()));
    case State::BadCell: {
        const QString what =
            badCell.text.isEmpty() ? tr("is empty") : tr("holds \"%1\"").arg(badCell.text);
        return tr("%1: the cell at row %2, column %3 %4, no tile number")
            .arg(courseName)
            .arg(badCell.row())
            .arg(badCell.column())
            .arg(what);
    }
    case State::NoCourse:
        break;
    }
    return tr("No course chosen");
}

std::optional<std::size_t> compressedSize(const QStringList &cellTexts, track::BadCell *bad)
{
    if (const auto found = track::firstBadCell(cellTexts)) {
        if (bad)
            *bad = *found;
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = track::toBytes(track::encode(cellTexts));
    if (!bytes)
        return std::nullopt;
    return codec::compress(byteView(*bytes)).size();
}

Budget measureBudget(const QStringList &cellTexts, const rom::Course *course, std::size_t capacity)
{
    Budget budget;
    if (!course)
        return budget;
    budget.courseName = QString::fromLatin1(course->name);
    budget.capacity = capacity;
    const std::optional<std::size_t> size = compressedSize(cellTexts, &budget.badCell);
    if (!size) {
        budget.state = Budget::State::BadCell;
        return budget;
    }
    budget.bytes = *size;
    budget.state = *size <= capacity ? Budget::State::Fits : Budget::State::TooBig;
    return budget;
}

std::size_t courseCapacity(const rom::Course &course, const QByteArray &romFile)
{
    // Where the course lives now: its slot, or its block in the added banks with the room after.
    if (const rom::HomeResult home = rom::courseHome(byteView(romFile), course.id); home.home)
        return home.home->capacity;
    const std::optional<std::size_t> offset = rom::fileOffsetOfListed(
        rom::listedOffsetOfGame(course.layoutOffset), std::size_t(romFile.size()));
    if (!offset)
        return course.slotLength;
    const rom::SlotResult slot = rom::slotAt(byteView(romFile), *offset);
    return slot.slot ? slot.slot->capacity : course.slotLength;
}

SlotBudget::SlotBudget(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<Budget>();
    mPool.setMaxThreadCount(1);
}

SlotBudget::~SlotBudget()
{
    // A measurement takes milliseconds; waiting for it keeps it from reporting to a dead object.
    mPool.waitForDone();
}

void SlotBudget::setCourse(const rom::Course *course, std::size_t capacity)
{
    mCourse = course;
    mCapacity = capacity;
    mapChanged();
}

void SlotBudget::mapChanged()
{
    mPending = true;
    if (!mRunning)
        startNext();
}

void SlotBudget::startNext()
{
    if (!mPending || !mSource)
        return;
    mPending = false;
    mRunning = true;
    const QStringList texts = mSource();
    const rom::Course *course = mCourse;
    const std::size_t capacity = mCapacity;
    mPool.start([this, texts, course, capacity] {
        const Budget budget = measureBudget(texts, course, capacity);
        QMetaObject::invokeMethod(
            this,
            [this, budget] {
                mRunning = false;
                mBudget = budget;
                emit budgetChanged(budget);
                startNext();
            },
            Qt::QueuedConnection);
    });
}

} // namespace velmor

#include "course/course_file.h"
#include "rom/course_layers.h"
#include "tests/support/synthetic_race.h"
#include "tests/support/test_main.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

using namespace velmor;
using namespace Qt::StringLiterals;

namespace {

// Built once: compressing 24 courses is the slow part.
const test::GameRom &raceRom()
{
    static const test::GameRom rom = test::gameRom({.seed = 5, .raceData = true});
    return rom;
}

rom::CourseData courseFromRom(int id)
{
    const auto image = rom::RomImage::open(raceRom().bytes);
    return *rom::readCourseLayers(*image, id).course(test::courseCells(id));
}

// Replaces (or, with an undefined value, removes) the value at a path of keys and indexes.
QJsonValue replaced(const QJsonValue &root, QStringList path, const QJsonValue &value)
{
    if (path.isEmpty())
        return value;
    const QString step = path.takeFirst();
    if (root.isArray()) {
        QJsonArray array = root.toArray();
        const int index = step.toInt();
        if (path.isEmpty() && value.isUndefined())
            array.removeAt(index);
        else
            array[index] = replaced(array[index], path, value);
        return array;
    }
    QJsonObject object = root.toObject();
    if (path.isEmpty() && value.isUndefined())
        object.remove(step);
    else
        object[step] = replaced(object[step], path, value);
    return object;
}

QJsonArray repeated(const QJsonValue &value, int count)
{
    QJsonArray array;
    for (int k = 0; k < count; ++k)
        array.append(value);
    return array;
}

} // namespace

// The course file: every course of a ROM through a file and back, the text as documented, and
// every kind of bad file refused with its key path.
class TestCourseFile : public QObject
{
    Q_OBJECT

private slots:
    void everyCourseRoundTrips_data();
    void everyCourseRoundTrips();
    void textIsAsDocumented();
    void badFilesAreRefused_data();
    void badFilesAreRefused();
    void oversizedAndBrokenFiles();
};

void TestCourseFile::everyCourseRoundTrips_data()
{
    QTest::addColumn<int>("id");
    for (const rom::Course &course : rom::courses())
        QTest::newRow(course.name.data()) << course.id;
}

void TestCourseFile::everyCourseRoundTrips()
{
    QFETCH(int, id);
    rom::CourseData course = courseFromRom(id);
    QString error;
    const std::optional<QByteArray> file = coursefile::write(course, &error);
    QVERIFY2(file, qPrintable(error));
    const coursefile::ReadResult read = coursefile::read(*file);
    QVERIFY2(read.ok(), qPrintable(read.error));
    // The file leaves out what the game never reads: spare target records and the unknown bit.
    course.ai.spare.clear();
    for (rom::Target &target : course.ai.targets)
        target.unknownBit = false;
    QVERIFY(*read.course == course);
    // Upper case is written, either case read.
    QVERIFY(QRegularExpression(u"\"[0-9A-F]{256}\""_s).match(QString::fromUtf8(*file)).hasMatch());
    const coursefile::ReadResult lower = coursefile::read(file->toLower());
    QVERIFY2(lower.ok(), qPrintable(lower.error));
    QVERIFY(lower.course->layout == course.layout);
}

void TestCourseFile::textIsAsDocumented()
{
    const QString text = QString::fromUtf8(*coursefile::write(courseFromRom(0x07)));
    QVERIFY(text.startsWith(u"{\n  \"format\": \"velmor-course\",\n  \"version\": 1,\n  \"course\": "
                            u"{\"id\": 7, \"name\": \"Mario Circuit 1\"},\n  \"theme\": 2,\n"_s));
    qsizetype last = 0;
    for (const char *key : {"layout", "items", "objects", "start", "lap", "ai", "zones", "targets"}) {
        const qsizetype at = text.indexOf(u'"' + QString::fromLatin1(key) + u"\": "_s, last);
        QVERIFY2(at > last, key);
        last = at;
    }
    QVERIFY(text.contains(u"{\"pattern\": 7, \"size\": 3, \"col\": 21, \"row\": 35}"_s));
    QVERIFY(text.contains(u"\"start\": {\"x\": 412, \"y\": 456, \"w\": -31}"_s));
    QVERIFY(text.contains(u"\"lap\": {\"y\": 508, \"col\": 21, \"row\": 27, \"w\": 5, \"h\": 2}"_s));
    const QString battle = QString::fromUtf8(*coursefile::write(courseFromRom(0x16)));
    QVERIFY(battle.contains(u"\"start\": {\"p1\": [150, 500], \"p2\": [850, 520]}"_s));
    QVERIFY(!battle.contains(u"\"lap\""_s) && !battle.contains(u"\"objects\""_s));
}

void TestCourseFile::badFilesAreRefused_data()
{
    QTest::addColumn<QString>("path"); // keys and indexes, '/' between
    QTest::addColumn<QJsonValue>("value"); // undefined: the key removed
    QTest::addColumn<QString>("message");
    const QJsonObject item {{u"pattern"_s, 0}, {u"size"_s, 0}, {u"col"_s, 1}, {u"row"_s, 1}};
    const QJsonObject zone {{u"shape"_s, 0}, {u"x"_s, 1}, {u"y"_s, 1}, {u"w"_s, 1}, {u"h"_s, 1}};
    const QJsonObject target {{u"x"_s, 1}, {u"y"_s, 1}, {u"speed"_s, 0}};
    const QJsonValue none(QJsonValue::Undefined);
    QTest::newRow("speed") << u"ai/targets/12/speed"_s << QJsonValue(7)
                           << u"ai.targets[12].speed: 7 is not 0–3"_s;
    QTest::newRow("format") << u"format"_s << QJsonValue(u"velmor-track"_s)
                            << u"format: \"velmor-track\" is not \"velmor-course\""_s;
    QTest::newRow("version") << u"version"_s << QJsonValue(2)
                             << u"version: 2 is not 1, the version this Velmor reads"_s;
    QTest::newRow("no layout") << u"layout"_s << none << u"layout: missing"_s;
    QTest::newRow("id as text") << u"course/id"_s << QJsonValue(u"2"_s)
                                << u"course.id: a string, not an integer"_s;
    QTest::newRow("id past the courses") << u"course/id"_s << QJsonValue(24)
                                         << u"course.id: 24 is not 0–23"_s;
    QTest::newRow("odd theme") << u"theme"_s << QJsonValue(3)
                               << u"theme: 3 is no theme code (0, 2, 4 ... 14)"_s;
    QTest::newRow("127 rows") << u"layout/127"_s << none << u"layout: 127 elements, not 128"_s;
    QTest::newRow("short row") << u"layout/5"_s << QJsonValue(QString(254, u'0'))
                               << u"layout[5]: 254 digits, not 256"_s;
    QTest::newRow("no hex digit") << u"layout/5"_s << QJsonValue(u"0G"_s + QString(254, u'0'))
                                  << u"layout[5]: digits 0 and 1 are no hexadecimal number"_s;
    QTest::newRow("42 items") << u"items"_s << QJsonValue(repeated(item, 42))
                              << u"items: 42 items; the game allows 41"_s;
    QTest::newRow("item column") << u"items/0/col"_s << QJsonValue(200)
                                 << u"items[0].col: 200 is not 0–127"_s;
    QTest::newRow("item size not whole") << u"items/0/size"_s << QJsonValue(2.5)
                                         << u"items[0].size: 2.5 is not an integer"_s;
    QTest::newRow("unknown key") << u"items/0/kind"_s << QJsonValue(1)
                                 << u"items[0].kind: no key of a course file"_s;
    QTest::newRow("128 zones") << u"ai"_s
        << QJsonValue(QJsonObject {{u"zones"_s, repeated(zone, 128)}, {u"targets"_s, repeated(target, 128)}})
        << u"ai.zones: 128 zones; the game allows 127"_s;
    QTest::newRow("a target short") << u"ai/targets/0"_s << none
        << u"ai.targets: 15 targets for 16 zones; the game reads one per zone"_s;
    QTest::newRow("zone shape") << u"ai/zones/0/shape"_s << QJsonValue(5)
                                << u"ai.zones[0].shape: 5 is none of the shapes 0, 2, 4, 6, 8, 10, 12"_s;
    QTest::newRow("zone past the grid") << u"ai/zones/1"_s
        << QJsonValue(QJsonObject {{u"shape"_s, 2}, {u"x"_s, 64}, {u"y"_s, 1}, {u"n"_s, 1}})
        << u"ai.zones[1].x: 64 is not 0–63"_s;
    QTest::newRow("triangle with a width") << u"ai/zones/1"_s
        << QJsonValue(QJsonObject {{u"shape"_s, 2}, {u"x"_s, 1}, {u"y"_s, 1}, {u"n"_s, 1}, {u"w"_s, 1}})
        << u"ai.zones[1].w: no key of a course file"_s;
    QTest::newRow("battle start for a race") << u"start"_s
        << QJsonValue(QJsonObject {{u"p1"_s, QJsonArray {1, 1}}, {u"p2"_s, QJsonArray {1, 1}}})
        << u"start: a race course starts from a grid (x, y, w)"_s;
    QTest::newRow("object past the map") << u"objects/groups/1/2/0"_s << QJsonValue(200)
                                         << u"objects.groups[1][2][0]: 200 is not 0–127"_s;
    QTest::newRow("match motion") << u"objects/match/0/2"_s << QJsonValue(4)
                                  << u"objects.match[0][2]: 4 is not 0–3"_s;
    QTest::newRow("lap column") << u"lap/col"_s << QJsonValue(70) << u"lap.col: 70 is not 0–63"_s;
    QTest::newRow("race course without its lap line") << u"lap"_s << none << u"lap: missing: a race course has a lap line"_s;
}

void TestCourseFile::badFilesAreRefused()
{
    QFETCH(QString, path);
    QFETCH(QJsonValue, value);
    QFETCH(QString, message);
    // Donut Plains 2: 16 zones and targets, 15 items, objects with a match list.
    const QJsonDocument good = QJsonDocument::fromJson(*coursefile::write(courseFromRom(0x02)));
    QVERIFY(coursefile::read(good.toJson()).ok());
    const QJsonValue bad = replaced(good.object(), path.split(u'/'), value);
    const coursefile::ReadResult read = coursefile::read(QJsonDocument(bad.toObject()).toJson());
    QVERIFY(!read.ok());
    QCOMPARE(read.error, message);
}

void TestCourseFile::oversizedAndBrokenFiles()
{
    const QByteArray good = *coursefile::write(courseFromRom(0x02));
    const QByteArray big = good + QByteArray(coursefile::MaxFileSize - good.size() + 1, ' ');
    QCOMPARE(coursefile::read(big).error,
             u"the file is 1048577 bytes; a course file is at most 1048576 bytes (1 MB)"_s);
    QVERIFY(coursefile::read(big.chopped(1)).ok());
    QVERIFY(coursefile::read(good.chopped(10)).error.startsWith(u"no JSON: "_s));
    QCOMPARE(coursefile::read("[1, 2]").error, u"the file holds no JSON object"_s);
}

VELMOR_GUILESS_TEST_MAIN(TestCourseFile)
#include "test_course_file.moc"

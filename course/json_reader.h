#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <initializer_list>
#include <vector>

namespace velmor::coursefile {

// Reads typed values off a JSON tree for a strict file reader: the first fault is kept with its
// key path ("ai.zones[3].x: a string, not an integer"), and every later step gives neutral values
// until the reading ends, so a reader runs straight through and asks failed() once.
class JsonReader
{
public:
    bool failed() const { return !mError.isEmpty(); }
    const QString &error() const { return mError; }
    void fail(const QString &path, const QString &reason);

    static QString child(const QString &path, const char *key);
    static QString element(const QString &path, qsizetype index);

    // An object holding only the keys named, the first `required` of them (all by default) present.
    QJsonObject object(const QJsonValue &value, const QString &path,
                       std::initializer_list<const char *> keys, int required = -1);
    QJsonArray array(const QJsonValue &value, const QString &path);
    // An array of exactly `size` elements.
    QJsonArray tuple(const QJsonValue &value, const QString &path, qsizetype size);
    // A whole number that fits an int.
    int integer(const QJsonValue &value, const QString &path);
    // An array of exactly `count` integers.
    std::vector<int> integers(const QJsonValue &value, const QString &path, qsizetype count);
    QString string(const QJsonValue &value, const QString &path);

private:
    // Whether the value is of the type; else the fault "a string, not an integer" or "missing".
    bool expect(bool isType, const QJsonValue &value, const QString &path, const char *type);

    QString mError;
};

} // namespace velmor::coursefile

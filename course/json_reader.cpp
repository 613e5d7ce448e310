#include "course/json_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmor::coursefile {

namespace {

using namespace Qt::StringLiterals;

QString kindOf(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return u"a string"_s;
    case QJsonValue::Array:
        return u"an array"_s;
    case QJsonValue::Object:
        return u"an object"_s;
    case QJsonValue::Bool:
        return u"true or false"_s;
    case QJsonValue::Double:
        return u"a number"_s;
    default:
        return u"null"_s;
    }
}

} // namespace

void JsonReader::fail(const QString &path, const QString &reason)
{
    if (mError.isEmpty())
        mError = path + u": "_s + reason;
}

QString JsonReader::child(const QString &path, const char *key)
{
    const QString name = QString::fromLatin1(key);
    return path.isEmpty() ? name : path + u'.' + name;
}

QString JsonReader::element(const QString &path, qsizetype index)
{
    return path + u'[' + QString::number(index) + u']';
}

bool JsonReader::expect(bool isType, const QJsonValue &value, const QString &path,
                        const char *type)
{
    if (!isType)
        fail(path, value.isUndefined() ? u"missing"_s
                                       : kindOf(value) + u", not "_s + QString::fromLatin1(type));
    return isType && !failed();
}

QJsonObject JsonReader::object(const QJsonValue &value, const QString &path,
                               std::initializer_list<const char *> keys, int required)
{
    if (!expect(value.isObject(), value, path, "an object"))
        return {};
    const QJsonObject object = value.toObject();
    int k = 0;
    for (const char *key : keys) {
        if ((required < 0 || k < required) && !object.contains(QLatin1StringView(key)))
            fail(child(path, key), u"missing"_s);
        ++k;
    }
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QByteArray name = it.key().toUtf8();
        if (std::none_of(keys.begin(), keys.end(), [&name](const char *key) { return name == key; }))
            fail(path.isEmpty() ? it.key() : path + u'.' + it.key(), u"no key of a course file"_s);
    }
    return object;
}

QJsonArray JsonReader::array(const QJsonValue &value, const QString &path)
{
    expect(value.isArray(), value, path, "an array");
    return failed() ? QJsonArray() : value.toArray();
}

QJsonArray JsonReader::tuple(const QJsonValue &value, const QString &path, qsizetype size)
{
    const QJsonArray values = array(value, path);
    if (!failed() && values.size() != size)
        fail(path, QString::number(values.size()) + u" elements, not "_s + QString::number(size));
    return failed() ? QJsonArray() : values;
}

int JsonReader::integer(const QJsonValue &value, const QString &path)
{
    if (!expect(value.isDouble(), value, path, "an integer"))
        return 0;
    const double number = value.toDouble();
    if (number != std::floor(number))
        fail(path, QString::number(number) + u" is not an integer"_s);
    else if (std::fabs(number) > std::numeric_limits<int>::max())
        fail(path, QString::number(number, 'g', 17) + u" is far out of range"_s);
    return failed() ? 0 : int(number);
}

std::vector<int> JsonReader::integers(const QJsonValue &value, const QString &path,
                                      qsizetype count)
{
    const QJsonArray values = tuple(value, path, count);
    std::vector<int> numbers(std::size_t(count), 0);
    for (qsizetype i = 0; i < values.size() && !failed(); ++i)
        numbers[std::size_t(i)] = integer(values[i], element(path, i));
    return numbers;
}

QString JsonReader::string(const QJsonValue &value, const QString &path)
{
    return expect(value.isString(), value, path, "a string") ? value.toString() : QString();
}

} // namespace velmor::coursefile

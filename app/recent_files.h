#pragma once

#include <QObject>
#include <QStringList>

namespace velmor {

// The track files and ROMs the user opened or saved last, newest first, kept between runs in the
// user's settings. Files that are gone are dropped when the list is read.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxFiles = 8;

    explicit RecentFiles(QObject *parent = nullptr);

    QStringList files() const;
    void add(const QString &path);
    void clear();

signals:
    void changed();

private:
    void store(const QStringList &files);
};

} // namespace velmor

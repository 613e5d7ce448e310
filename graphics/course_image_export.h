#pragma once

#include <QImage>
#include <QString>

namespace velmor::graphics {

// "Export Image…": saves a course picture as PNG, at its own size or enlarged by a whole number
// with every pixel kept sharp. The file is replaced only when completely written, under its lock;
// what is not a regular file there (a folder, a FIFO) is refused before the picture is made.
struct ImageExport
{
    bool ok = false;
    // On failure, what failed and why, in one line.
    QString error;
};

inline constexpr int MaxExportScale = 8;

ImageExport exportCourseImage(const QImage &image, const QString &path, int scale = 1);

} // namespace velmor::graphics

#include "graphics/course_image_export.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace velmor::graphics {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("velmor::graphics::CourseImageExport", text);
}

ImageExport failure(const QString &error)
{
    return {false, error};
}

} // namespace

ImageExport exportCourseImage(const QImage &image, const QString &path, int scale)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (scale < 1 || scale > MaxExportScale) {
        return failure(tr("cannot write the image %1: the scale %2 is not a whole number from 1 "
                          "to %3")
                           .arg(shown)
                           .arg(scale)
                           .arg(MaxExportScale));
    }
    if (image.isNull())
        return failure(tr("cannot write the image %1: there is no course picture").arg(shown));
    if (QFileInfo(path).isDir())
        return failure(tr("cannot write the image %1: it is a folder").arg(shown));

    // Three bytes a pixel rather than four: at the largest scale the picture is 64 million pixels.
    QImage out = image.convertToFormat(QImage::Format_RGB888);
    if (scale > 1)
        out = out.scaled(out.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (out.isNull())
        return failure(tr("cannot write the image %1: not enough memory for a picture of %2 x %2 "
                          "pixels")
                           .arg(shown)
                           .arg(image.width() * scale));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(tr("cannot write the image %1: %2").arg(shown, file.errorString()));
    QImageWriter writer(&file, QByteArrayLiteral("png"));
    if (!writer.write(out)) {
        file.cancelWriting();
        return failure(tr("cannot write the image %1: %2").arg(shown, writer.errorString()));
    }
    if (!file.commit())
        return failure(tr("cannot write the image %1: %2").arg(shown, file.errorString()));
    return {true, QString()};
}

} // namespace velmor::graphics

#include "graphics/course_image_export.h"

#include "platform/file_target.h"
#include "platform/whole_file_write.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImageWriter>

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
    // Before the picture is made: a folder or a FIFO there would refuse it after all the work.
    if (const QString refusal = writeRefusal(path); !refusal.isEmpty())
        return failure(tr("cannot write the image %1: %2").arg(shown, refusal));

    // Three bytes a pixel rather than four: at the largest scale the picture is 64 million pixels.
    QImage out = image.convertToFormat(QImage::Format_RGB888);
    if (scale > 1)
        out = out.scaled(out.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (out.isNull())
        return failure(tr("cannot write the image %1: not enough memory for a picture of %2 x %2 "
                          "pixels")
                           .arg(shown)
                           .arg(image.width() * scale));

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("png"));
    if (!writer.write(out))
        return failure(tr("cannot write the image %1: %2").arg(shown, writer.errorString()));
    QString reason;
    if (!writeLockedFile(path, png, &reason))
        return failure(tr("cannot write the image %1: %2").arg(shown, reason));
    return {true, QString()};
}

} // namespace velmor::graphics

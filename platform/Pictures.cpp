#include "platform/Pictures.h"

#include <QImageReader>

QPixmap decodePicture(const QString &resourcePath)
{
    QImageReader reader(resourcePath);
    const QImage image = reader.read();
    Q_ASSERT_X(!image.isNull(), "decodePicture", qPrintable(resourcePath));
    return QPixmap::fromImage(image);
}

QPixmap decodePhotograph(const QString &resourcePath)
{
    QImageReader reader(resourcePath);
    QImage image = reader.read();
    Q_ASSERT_X(!image.isNull(), "decodePhotograph", qPrintable(resourcePath));
    if (image.hasAlphaChannel())
        return QPixmap::fromImage(std::move(image));
    image.convertTo(QImage::Format_RGB888);
    return QPixmap::fromImage(std::move(image), Qt::NoFormatConversion);
}

QIcon decodeIcon(const QString &resourcePath)
{
    QIcon icon;
    QImageReader reader(resourcePath);
    do {
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    } while (reader.jumpToNextImage());
    return icon;
}

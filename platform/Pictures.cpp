// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/Pictures.h"

#include <QImageReader>

QPixmap decodePicture(const QString &resourcePath)
{
    QImageReader reader(resourcePath);
    const QImage image = reader.read();
    Q_ASSERT_X(!image.isNull(), "decodePicture", qPrintable(resourcePath));
    return QPixmap::fromImage(image);
}

QImage readPhotograph(const QString &resourcePath)
{
    QImageReader reader(resourcePath);
    QImage image = reader.read();
    Q_ASSERT_X(!image.isNull(), "readPhotograph", qPrintable(resourcePath));
    if (!image.hasAlphaChannel())
        image.convertTo(QImage::Format_RGB888);
    return image;
}

std::future<QImage> readPhotographSoon(const QString &resourcePath)
{
#if defined(__MINGW32__) || defined(Q_OS_WASM)
    constexpr auto policy = std::launch::deferred;
#else
    constexpr auto policy = std::launch::async;
#endif
    return std::async(policy, [resourcePath] { return readPhotograph(resourcePath); });
}

QPixmap photographPixmap(QImage photograph)
{
    // Kept in the format it was read into (see readPhotograph).
    return QPixmap::fromImage(std::move(photograph), Qt::NoFormatConversion);
}

QPixmap decodePhotograph(const QString &resourcePath)
{
    return photographPixmap(readPhotograph(resourcePath));
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

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

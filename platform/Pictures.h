// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// Decodes an embedded picture. Windows decode their pictures when they are
// built and drop them when destroyed; QImageReader bypasses the process-wide
// QPixmapCache, which would keep them alive after their window.
QPixmap decodePicture(const QString &resourcePath);

// Decodes every image of an embedded icon file into one icon.
QIcon decodeIcon(const QString &resourcePath);

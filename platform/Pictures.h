// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

#include <future>

// Decodes an embedded picture. Windows decode their pictures when they are
// built and drop them when destroyed; QImageReader bypasses the process-wide
// QPixmapCache, which would keep them alive after their window.
QPixmap decodePicture(const QString &resourcePath);

// The same for a photograph, opaque and of many colours: it is kept at three
// bytes a pixel instead of four, the very same colours in three quarters of
// the memory (the gallery holds eight of them); drawing converts as it goes.
QPixmap decodePhotograph(const QString &resourcePath);

// decodePhotograph in its two halves: the decoding, which may run on any
// thread, and the pixmap, which only the GUI thread may make.
QImage readPhotograph(const QString &resourcePath);
// readPhotograph on a second thread where that is safe, so that the caller
// can go on meanwhile; the result is collected with get(). Under MinGW-w64
// (the Windows build) the photograph is read by get() itself, on the calling
// thread: a thread that has run Qt's image code ends by running Qt's
// thread-local destructors after the C++ runtime has released their
// storage, and crashes (seen under Wine, in QRegularExpression's JIT stack).
// A web page has one thread (a thread there aborts the page): get() reads it
// there too.
std::future<QImage> readPhotographSoon(const QString &resourcePath);
QPixmap photographPixmap(QImage photograph);

// Decodes every image of an embedded icon file into one icon.
QIcon decodeIcon(const QString &resourcePath);

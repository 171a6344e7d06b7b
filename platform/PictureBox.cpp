// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/PictureBox.h"

#include "platform/Twips.h"

#include <QPaintEvent>
#include <QPainter>

namespace {
// Pixel art keeps hard edges at any device pixel ratio; photographs scale smoothly.
void drawPicture(QPainter &painter, const QPixmap &picture, PictureBox::Scaling scaling)
{
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          scaling == PictureBox::Scaling::Photograph);
    painter.drawPixmap(QRect(QPoint(0, 0), picture.deviceIndependentSize().toSize()), picture);
}
} // namespace

PictureBox::PictureBox(QWidget *parent, Scaling scaling) : QWidget(parent), scaling_(scaling)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void PictureBox::setPicture(const QPixmap &picture)
{
    picture_ = picture;
    resize(picture_.deviceIndependentSize().toSize());
    update();
}

void PictureBox::setLeft(float twips)
{
    left_ = twips;
    const int x = Twips::toPixels(twips);
    if (x != pos().x())
        move(x, pos().y());
}

void PictureBox::setTop(double twips)
{
    move(pos().x(), Twips::toPixels(twips));
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    drawPicture(painter, picture_, scaling_);
}

PictureBackground::PictureBackground(const QPixmap &picture, QWidget *parent,
                                     PictureBox::Scaling scaling)
    : QWidget(parent), picture_(picture), scaling_(scaling)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBackground::setPicture(const QPixmap &picture)
{
    picture_ = picture;
    update();
}

void PictureBackground::paintEvent(QPaintEvent *event)
{
    // Only what is exposed is drawn: during a race, the few small rectangles
    // the horses' moves uncover. Each is drawn under a clip of its own, which
    // the raster engine blits directly; under the paint region's clip alone it
    // would walk every row of the picture. The pixels are those of drawing
    // the whole picture: the same drawing, clipped.
    QPainter painter(this);
    const QRect covered(QPoint(0, 0), picture_.deviceIndependentSize().toSize());
    const QRegion &exposed = event->region();
    const QRegion background = picture_.hasAlphaChannel() ? exposed : exposed.subtracted(covered);
    for (const QRect &rect : background)
        painter.fillRect(rect, palette().window());
    if (picture_.isNull())
        return;
    for (const QRect &rect : exposed.intersected(covered)) {
        painter.setClipRect(rect);
        drawPicture(painter, picture_, scaling_);
    }
}

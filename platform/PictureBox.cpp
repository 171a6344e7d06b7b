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
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());
    drawPicture(painter, picture_, scaling_);
}

// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>
#include <QWidget>

// A picture control: shows a shared picture at its own size (it takes the
// picture's size), with no background of its own, so transparent pixels show
// what lies below. Its horizontal position is kept exactly as a float in
// twips (the `Left` property); on screen it stands at the nearest pixel.
class PictureBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QPixmap Picture READ picture WRITE setPicture)
    Q_PROPERTY(float Left READ left WRITE setLeft)
public:
    enum class Scaling { PixelArt, Photograph };

    explicit PictureBox(QWidget *parent = nullptr, Scaling scaling = Scaling::PixelArt);

    const QPixmap &picture() const { return picture_; }
    void setPicture(const QPixmap &picture);

    float left() const { return left_; }
    void setLeft(float twips);
    void setTop(double twips);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap picture_;
    float left_ = 0.0f;
    Scaling scaling_;
};

// A window's background picture: drawn unscaled from the top-left corner,
// clipped by the client area, under all controls.
class PictureBackground : public QWidget {
    Q_OBJECT
public:
    explicit PictureBackground(const QPixmap &picture, QWidget *parent = nullptr,
                               PictureBox::Scaling scaling = PictureBox::Scaling::PixelArt);
    const QPixmap &picture() const { return picture_; }
    void setPicture(const QPixmap &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap picture_;
    PictureBox::Scaling scaling_;
};

// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Scales the program icon for the desktop's icon theme: icon_scale <in.png>
// <size> <out.png>. The icon is pixel art, so every pixel is repeated
// (nearest neighbour), never blended.
#include <QImage>
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <in.png> <size> <out.png>\n", argv[0]);
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    const int size = std::atoi(argv[2]);
    if (icon.isNull() || size <= 0) {
        std::fprintf(stderr, "%s: cannot read %s or bad size %s\n", argv[0], argv[1], argv[2]);
        return 1;
    }
    const QImage scaled = icon.convertToFormat(QImage::Format_ARGB32)
                              .scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!scaled.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}

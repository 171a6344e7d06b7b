// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The pictures compiled into the program: their stored forms, sizes, and the
// parts of the course and the horses that the race layout depends on.
#include "resources/Resources.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace {

QByteArray embedded(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

unsigned byteAt(const QByteArray &data, qsizetype at)
{
    return static_cast<std::uint8_t>(data.at(at));
}

unsigned le16(const QByteArray &data, qsizetype at)
{
    return byteAt(data, at) | byteAt(data, at + 1) << 8;
}

std::uint32_t le32(const QByteArray &data, qsizetype at)
{
    return le16(data, at) | std::uint32_t(le16(data, at + 2)) << 16;
}

std::int32_t le32s(const QByteArray &data, qsizetype at)
{
    return static_cast<std::int32_t>(le32(data, at));
}

unsigned be16(const QByteArray &data, qsizetype at)
{
    return byteAt(data, at) << 8 | byteAt(data, at + 1);
}

// ------------------------------------------------------------------ GIF

struct GifLayout {
    unsigned width = 0, height = 0;
    unsigned globalTableSize = 0;   // entries, 0 when there is none
    bool interlaced = false;
    std::optional<unsigned> transparentIndex;
    int images = 0;
};

// Walks the blocks of a GIF file far enough to read its layout.
std::optional<GifLayout> readGif(const QByteArray &data)
{
    if (data.size() < 13 || !data.startsWith("GIF89a"))
        return std::nullopt;
    GifLayout gif;
    gif.width = le16(data, 6);
    gif.height = le16(data, 8);
    const unsigned packed = byteAt(data, 10);
    if (packed & 0x80)
        gif.globalTableSize = 2u << (packed & 7);
    qsizetype at = 13 + 3 * qsizetype(gif.globalTableSize);
    auto skipSubBlocks = [&] {
        while (at < data.size() && byteAt(data, at) != 0)
            at += byteAt(data, at) + 1;
        ++at;
    };
    while (at < data.size()) {
        const unsigned block = byteAt(data, at);
        if (block == 0x3B)
            return gif;
        if (block == 0x21) {
            const unsigned label = byteAt(data, at + 1);
            if (label == 0xF9 && byteAt(data, at + 2) == 4 && (byteAt(data, at + 3) & 1))
                gif.transparentIndex = byteAt(data, at + 6);
            at += 2;
            skipSubBlocks();
        } else if (block == 0x2C) {
            const unsigned flags = byteAt(data, at + 9);
            gif.interlaced = gif.interlaced || (flags & 0x40);
            at += 10;
            if (flags & 0x80)
                at += 3 * (qsizetype(2) << (flags & 7));
            ++at; // LZW minimum code size
            skipSubBlocks();
            ++gif.images;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt; // no trailer
}

QImage decode(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

const QRgb Field = qRgb(159, 223, 63);
const QRgb Black = qRgb(0, 0, 0);
const QRgb NearWhite = qRgb(255, 251, 240);

TEST(Course, IsANonInterlacedGif89aOf500By200WithA256ColourPaletteAndNoTransparency)
{
    const auto gif = readGif(embedded(Resources::Course));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->width, 500u);
    EXPECT_EQ(gif->height, 200u);
    EXPECT_EQ(gif->globalTableSize, 256u);
    EXPECT_FALSE(gif->interlaced);
    EXPECT_FALSE(gif->transparentIndex);
    EXPECT_EQ(gif->images, 1);
}

TEST(Course, HasTheBandsFinishLineAndLaneSeparatorsTheRaceIsLaidOutOn)
{
    const QImage course = decode(embedded(Resources::Course));
    ASSERT_EQ(course.size(), QSize(500, 200));
    auto at = [&](int x, int y) { return course.pixel(x, y) & 0xFFFFFF; };
    auto rgb = [](QRgb c) { return c & 0xFFFFFF; };

    for (int x = 0; x < 500; ++x) {
        for (int y : {0, 1, 2, 3, 196, 197, 198, 199})
            ASSERT_EQ(at(x, y), rgb(Black)) << "band at " << x << ',' << y;
    }
    for (int y = 4; y <= 195; ++y) {
        ASSERT_EQ(at(34, y), rgb(NearWhite)) << "finish line at row " << y;
        ASSERT_EQ(at(33, y), rgb(Field)) << "left of the finish line at row " << y;
        ASSERT_EQ(at(35, y), rgb(Field)) << "right of the finish line at row " << y;
    }
    for (int top : {48, 97, 147}) {
        for (int y = top; y < top + 4; ++y) {
            // Each separator starts somewhere in columns 443 to 445 and runs to the edge.
            EXPECT_EQ(at(442, y), rgb(Field)) << "separator row " << y;
            for (int x = 445; x < 500; ++x)
                ASSERT_EQ(at(x, y), rgb(Black)) << "separator at " << x << ',' << y;
        }
        EXPECT_EQ(at(470, top - 1), rgb(Field));
        EXPECT_EQ(at(470, top + 4), rgb(Field));
    }
    // Inside the lanes, plain turf from the stalls to the left edge.
    for (int y : {5, 30, 60, 120, 180, 194})
        for (int x : {0, 20, 36, 200, 440, 499})
            EXPECT_EQ(at(x, y), rgb(Field)) << x << ',' << y;
}

// ------------------------------------------------------------------ horses

struct Horse {
    const QString &path;
    QRgb body;
};

const std::vector<Horse> &horses()
{
    static const std::vector<Horse> all = {
        {Resources::HorseAka, qRgb(255, 0, 0)},
        {Resources::HorseCha, qRgb(128, 0, 0)},
        {Resources::HorseKi, qRgb(255, 255, 63)},
        {Resources::HorseShiro, qRgb(255, 251, 240)},
    };
    return all;
}

TEST(Horses, Are40By40Gif89aWithPaletteIndex255Transparent)
{
    for (const Horse &horse : horses()) {
        SCOPED_TRACE(horse.path.toStdString());
        const auto gif = readGif(embedded(horse.path));
        ASSERT_TRUE(gif);
        EXPECT_EQ(gif->width, 40u);
        EXPECT_EQ(gif->height, 40u);
        EXPECT_EQ(gif->globalTableSize, 256u);
        EXPECT_EQ(gif->transparentIndex, 255u);
    }
}

TEST(Horses, AreOneDrawingInBlackAndTheirOwnBodyColourOnATransparentGround)
{
    std::optional<QImage> firstMask;
    for (const Horse &horse : horses()) {
        SCOPED_TRACE(horse.path.toStdString());
        const QImage image = decode(embedded(horse.path));
        ASSERT_EQ(image.size(), QSize(40, 40));
        for (QPoint corner : {QPoint(0, 0), QPoint(39, 0), QPoint(0, 39), QPoint(39, 39)})
            EXPECT_EQ(qAlpha(image.pixel(corner)), 0);

        QImage mask(40, 40, QImage::Format_Grayscale8);
        int body = 0, black = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                const QRgb p = image.pixel(x, y);
                mask.setPixel(x, y, qAlpha(p) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
                if (!qAlpha(p))
                    continue;
                ASSERT_EQ(qAlpha(p), 255);
                if ((p & 0xFFFFFF) == (horse.body & 0xFFFFFF))
                    ++body;
                else if ((p & 0xFFFFFF) == 0)
                    ++black;
                else
                    ADD_FAILURE() << "stray colour at " << x << ',' << y;
            }
        }
        EXPECT_GT(body, 300) << "the horse's body is its colour";
        EXPECT_GT(black, 100) << "outline, mane, tail, hooves and eye are black";
        if (!firstMask)
            firstMask = mask;
        else
            EXPECT_EQ(mask, *firstMask) << "the four horses share one drawing";
    }
}

TEST(Horses, FaceLeftTowardsTheFinish)
{
    // The head stands higher than the tail end: the top third of the picture
    // holds the ears and the head, and they lie in the left half.
    const QImage image = decode(embedded(Resources::HorseAka));
    int left = 0, right = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 40; ++x)
            if (qAlpha(image.pixel(x, y)))
                (x < 20 ? left : right)++;
    EXPECT_GT(left, 3 * right);
}

// ------------------------------------------------------------------ icon

TEST(Icon, HoldsA32And16PixelImageIn16ColoursAsBitmaps)
{
    const QByteArray ico = embedded(Resources::Icon);
    ASSERT_GE(ico.size(), 6 + 2 * 16);
    EXPECT_EQ(le16(ico, 0), 0u);
    EXPECT_EQ(le16(ico, 2), 1u) << "an icon, not a cursor";
    ASSERT_EQ(le16(ico, 4), 2u);

    const unsigned sizes[] = {32, 16};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const qsizetype entry = 6 + 16 * i;
        const unsigned size = sizes[i];
        EXPECT_EQ(byteAt(ico, entry), size);
        EXPECT_EQ(byteAt(ico, entry + 1), size);
        EXPECT_EQ(byteAt(ico, entry + 2), 16u) << "colour count";
        const std::uint32_t bytes = le32(ico, entry + 8);
        const std::uint32_t offset = le32(ico, entry + 12);
        ASSERT_LE(qsizetype(offset) + qsizetype(bytes), ico.size());
        ASSERT_NE(ico.mid(offset, 4), QByteArray("\x89PNG", 4)) << "a bitmap, not a PNG";

        EXPECT_EQ(le32(ico, offset), 40u) << "BITMAPINFOHEADER";
        EXPECT_EQ(le32s(ico, offset + 4), std::int32_t(size));
        EXPECT_EQ(le32s(ico, offset + 8), std::int32_t(2 * size)) << "colour and mask rows";
        EXPECT_EQ(le16(ico, offset + 14), 4u) << "bits per pixel";
        EXPECT_EQ(le32(ico, offset + 16), 0u) << "uncompressed";
        // Header, 16 palette entries, 4-bit colour rows and the 1-bit mask,
        // each row padded to 32 bits.
        const std::uint32_t colourRow = (size * 4 + 31) / 32 * 4;
        const std::uint32_t maskRow = (size + 31) / 32 * 4;
        EXPECT_EQ(bytes, 40 + 16 * 4 + size * (colourRow + maskRow));
    }

    QBuffer buffer;
    buffer.setData(ico);
    QImageReader reader(&buffer, "ico");
    EXPECT_EQ(reader.imageCount(), 2);
    const QImage big = reader.read();
    ASSERT_FALSE(big.isNull());
    EXPECT_EQ(big.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(big.pixel(0, 0)), 0) << "the corners are see-through";
    EXPECT_EQ(qAlpha(big.pixel(16, 16)), 255);
}

// ------------------------------------------------------------------ splash

TEST(Splash, IsA24BitUncompressedBottomUpBitmapOf337By279)
{
    const QByteArray bmp = embedded(Resources::Splash);
    ASSERT_GE(bmp.size(), 54);
    EXPECT_TRUE(bmp.startsWith("BM"));
    EXPECT_EQ(le32(bmp, 2), std::uint32_t(bmp.size()));
    const std::uint32_t pixels = le32(bmp, 10);
    EXPECT_EQ(le32(bmp, 14), 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(le32s(bmp, 18), 337);
    EXPECT_EQ(le32s(bmp, 22), 279) << "positive height: rows stored bottom-up";
    EXPECT_EQ(le16(bmp, 26), 1u);
    EXPECT_EQ(le16(bmp, 28), 24u);
    EXPECT_EQ(le32(bmp, 30), 0u) << "BI_RGB";
    const std::uint32_t row = (337 * 3 + 3) / 4 * 4;
    EXPECT_EQ(std::uint32_t(bmp.size()) - pixels, 279 * row);

    const QImage image = decode(bmp);
    EXPECT_EQ(image.size(), QSize(337, 279));
}

// ------------------------------------------------------------------ photographs

struct JpegLayout {
    bool jfif101 = false;
    std::vector<unsigned> frames; // SOFn markers
    unsigned precision = 0, width = 0, height = 0, components = 0;
};

std::optional<JpegLayout> readJpeg(const QByteArray &data)
{
    if (data.size() < 4 || be16(data, 0) != 0xFFD8)
        return std::nullopt;
    JpegLayout jpeg;
    qsizetype at = 2;
    while (at + 4 <= data.size()) {
        if (byteAt(data, at) != 0xFF)
            return std::nullopt;
        const unsigned marker = byteAt(data, at + 1);
        const unsigned length = be16(data, at + 2);
        const qsizetype body = at + 4;
        if (marker == 0xE0 && data.mid(body, 5) == QByteArray("JFIF\0", 5))
            jpeg.jfif101 = byteAt(data, body + 5) == 1 && byteAt(data, body + 6) == 1;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8
                           && marker != 0xCC;
        if (frame) {
            jpeg.frames.push_back(marker);
            jpeg.precision = byteAt(data, body);
            jpeg.height = be16(data, body + 1);
            jpeg.width = be16(data, body + 3);
            jpeg.components = byteAt(data, body + 5);
        }
        if (marker == 0xDA)
            return jpeg; // entropy-coded data follows
        at += 2 + length;
    }
    return std::nullopt;
}

TEST(Photographs, AreEightBaselineJfif101JpegsOf320By240InThreeComponents)
{
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        const QByteArray data = embedded(Resources::zelko(n));
        ASSERT_FALSE(data.isEmpty());
        const auto jpeg = readJpeg(data);
        ASSERT_TRUE(jpeg);
        EXPECT_TRUE(jpeg->jfif101);
        ASSERT_EQ(jpeg->frames.size(), 1u);
        EXPECT_EQ(jpeg->frames.front(), 0xC0u) << "baseline, not progressive";
        EXPECT_EQ(jpeg->precision, 8u);
        EXPECT_EQ(jpeg->width, 320u);
        EXPECT_EQ(jpeg->height, 240u);
        EXPECT_EQ(jpeg->components, 3u);
        EXPECT_TRUE(data.endsWith("\xFF\xD9"));
        EXPECT_EQ(decode(data).size(), QSize(320, 240));
    }
}

TEST(Photographs, AreEightDifferentPictures)
{
    std::vector<QByteArray> seen;
    for (int n = 1; n <= 8; ++n) {
        const QByteArray data = embedded(Resources::zelko(n));
        for (const QByteArray &other : seen)
            EXPECT_NE(data, other) << "photograph " << n;
        seen.push_back(data);
    }
}

} // namespace

// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Every window on screens that scale: the pixel art (course, horses) stays
// sharp, the photographs scale smoothly, Japanese text is drawn at the screen's
// resolution and the layout holds. The pictures are drawn into images of a
// given device pixel ratio; CTest also runs this program under QT_SCALE_FACTOR
// 1.5, 2 and 3, where the windows grab themselves at the screen's ratio.
#include "platform/Pictures.h"
#include "resources/Resources.h"
#include "tests/support/ProgramFixture.h"
#include "tests/support/TestServices.h"
#include "windows/Program.h"
#include "windows/frmCopy.h"
#include "windows/frmHelp.h"
#include "windows/frmVersion.h"
#include "windows/frmZelko.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {
const QRgb FinishLine = qRgb(255, 251, 240);
constexpr int FinishColumn = 34;              // in the course picture
constexpr int CourseWidth = 495, CourseHeight = 200; // the course as the window shows it

// A widget drawn into an image of a device pixel ratio; without its window
// background when `background` is false, so what it draws stands on transparency.
QImage renderAt(QWidget *widget, qreal ratio, bool background = true)
{
    const QSize device = (QSizeF(widget->size()) * ratio).toSize();
    QImage image(device, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(),
                   background ? QWidget::DrawWindowBackground | QWidget::DrawChildren
                              : QWidget::DrawChildren);
    return image;
}

QSet<QRgb> opaqueColours(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) == 255)
                colours.insert(image.pixel(x, y));
        }
    }
    return colours;
}

// The device pixels of a logical rectangle, at a ratio.
QRect deviceRect(const QRect &logical, qreal ratio)
{
    return QRect(QPoint(int(std::floor(logical.left() * ratio)), int(std::floor(logical.top() * ratio))),
                 QPoint(int(std::ceil((logical.right() + 1) * ratio)) - 1,
                        int(std::ceil((logical.bottom() + 1) * ratio)) - 1));
}

// Share of the square blocks of `block` device pixels that are not one
// colour, leaving out blocks that touch `skip`.
double mixedBlockShare(const QImage &image, const QRect &area, int block,
                       const QList<QRect> &skip = {})
{
    int blocks = 0, mixed = 0;
    for (int y = area.top(); y + block - 1 <= area.bottom(); y += block) {
        for (int x = area.left(); x + block - 1 <= area.right(); x += block) {
            const QRect square(x, y, block, block);
            if (std::any_of(skip.begin(), skip.end(),
                            [&](const QRect &r) { return r.intersects(square); }))
                continue;
            ++blocks;
            const QRgb first = image.pixel(x, y);
            bool same = true;
            for (int dy = 0; dy < block && same; ++dy) {
                for (int dx = 0; dx < block && same; ++dx)
                    same = image.pixel(x + dx, y + dy) == first;
            }
            mixed += !same;
        }
    }
    return blocks ? double(mixed) / blocks : 0.0;
}

// Where the course shows the finish line in a row: the run of device columns
// in its pure colour left of the lane separators. Returns {first, width}.
std::pair<int, int> finishLineRun(const QImage &image, int row)
{
    int first = -1, width = 0;
    for (int x = 0; x < image.width() / 2; ++x) {
        if (image.pixel(x, row) == FinishLine) {
            if (first < 0)
                first = x;
            else if (x != first + width)
                return {first, -1}; // a second run: not one line
            ++width;
        }
    }
    return {first, width};
}
} // namespace

class HighDpiTest : public ::testing::Test, protected ScriptedProgram {
protected:
    frmCopy *splash = nullptr;

    // Every window open: the splash (its timer held back), the main window
    // and the three side windows.
    void SetUp() override
    {
        splash = &program.start(1h);
        program.mainWindow().show();
        program.sideWindows().openGallery();
        program.sideWindows().openHelp();
        program.sideWindows().openVersion();
        for (QWidget *window : windows())
            ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << window->objectName().toStdString();
    }
    void TearDown() override { EXPECT_FALSE(messages.unexpected); }

    QList<QWidget *> windows() const
    {
        return {splash, program.builtMainWindow(), program.sideWindows().gallery(), program.sideWindows().help(),
                program.sideWindows().version()};
    }
    QWidget *course() const { return program.builtMainWindow()->findChild<QWidget *>(QStringLiteral("client")); }
};

TEST_F(HighDpiTest, FinishLineIsTwoDevicePixelsWideInItsPureColourAt2x)
{
    const QImage image = renderAt(course(), 2);
    // Rows 4 to 195 of the course carry the line; in between, turf on both sides.
    for (int row = 2 * 4; row < 2 * 196; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(image.pixel(2 * FinishColumn, row), FinishLine);
        EXPECT_EQ(image.pixel(2 * FinishColumn + 1, row), FinishLine);
        EXPECT_NE(image.pixel(2 * FinishColumn - 1, row), FinishLine);
        EXPECT_NE(image.pixel(2 * FinishColumn + 2, row), FinishLine);
        if (HasFailure())
            break;
    }
}

TEST_F(HighDpiTest, CourseAndHorsesKeepHardEdgesAtEveryRatio)
{
    // Horses mid-course, on the turf, where a blend with the course would show.
    const char *horses[] = {"imgAka", "imgCha", "imgKi", "imgShiro"};
    const float lefts[] = {3000, 3615, 4230, 4845};
    for (int i = 0; i < 4; ++i)
        course()->findChild<QWidget *>(QLatin1String(horses[i]))->setProperty("Left", lefts[i]);

    QSet<QRgb> drawn = opaqueColours(decodePicture(Resources::Course).toImage());
    for (const QString &horse : {Resources::HorseAka, Resources::HorseCha, Resources::HorseKi,
                                 Resources::HorseShiro})
        drawn += opaqueColours(decodePicture(horse).toImage());
    // The lane numbers are text on the course: their letters may blend.
    QList<QRect> text;
    for (QLabel *label : course()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (label->geometry().top() < CourseHeight)
            text << label->geometry();
    }

    for (const qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
        SCOPED_TRACE(ratio);
        const QImage image = renderAt(course(), ratio);
        QList<QRect> skip;
        for (const QRect &r : text)
            skip << deviceRect(r, ratio);
        const QRect area = deviceRect(QRect(0, 0, CourseWidth, CourseHeight), ratio);
        int blended = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const bool inText = std::any_of(skip.begin(), skip.end(),
                                                [&](const QRect &r) { return r.contains(x, y); });
                blended += !inText && !drawn.contains(image.pixel(x, y));
            }
        }
        EXPECT_EQ(blended, 0) << "device pixels in colours the pictures do not have";
        // At a whole ratio every picture pixel becomes a square of one colour.
        if (ratio == std::floor(ratio)) {
            EXPECT_EQ(mixedBlockShare(image, area, int(ratio), skip), 0.0);
        }
    }
}

TEST_F(HighDpiTest, PhotographsScaleSmoothly)
{
    // The gallery's photograph and a stretch of the splash's photograph that
    // no caption covers, at twice their size: smooth scaling blends
    // neighbouring pixels, so most 2 x 2 squares are not one colour, and
    // colours appear that the photograph does not have.
    auto *photo = program.sideWindows().gallery()->findChild<QWidget *>(QStringLiteral("imgDefault"));
    ASSERT_NE(photo, nullptr);
    const QImage gallery = renderAt(photo, 2);
    EXPECT_GT(mixedBlockShare(gallery, gallery.rect(), 2), 0.5);
    const QSet<QRgb> source = opaqueColours(photo->property("Picture").value<QPixmap>().toImage());
    int fresh = 0;
    for (int y = 0; y < gallery.height(); y += 7) {
        for (int x = 0; x < gallery.width(); x += 7)
            fresh += !source.contains(gallery.pixel(x, y));
    }
    EXPECT_GT(fresh, 0);

    auto *card = splash->findChild<QWidget *>(QStringLiteral("client"));
    const QImage splashImage = renderAt(card, 2);
    EXPECT_GT(mixedBlockShare(splashImage, deviceRect(QRect(270, 90, 60, 100), 2), 2), 0.5);
}

TEST_F(HighDpiTest, JapaneseTextIsDrawnAtTheScreensResolution)
{
    // The title "ルミダ" at 36 pt. Drawn at twice the resolution, its strokes
    // have detail finer than a logical pixel, and no more of its ink is the
    // soft edge than at 1x (an enlarged 1x drawing would be blocky or blurred).
    auto *title = splash->findChild<QLabel *>(QStringLiteral("Label1"));
    ASSERT_NE(title, nullptr);
    auto inkShares = [&](qreal ratio) {
        const QImage image = renderAt(title, ratio, false);
        int ink = 0, solid = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const int alpha = qAlpha(image.pixel(x, y));
                ink += alpha > 0;
                solid += alpha == 255;
            }
        }
        return std::pair{ink, solid};
    };
    const auto [ink1, solid1] = inkShares(1);
    const auto [ink2, solid2] = inkShares(2);
    ASSERT_GT(ink1, 0);
    ASSERT_LT(solid1, ink1);
    EXPECT_GT(double(solid2) / ink2, double(solid1) / ink1);
    const QImage twice = renderAt(title, 2, false);
    EXPECT_GT(mixedBlockShare(twice, twice.rect(), 2), 0.0);
}

TEST_F(HighDpiTest, WindowsKeepTheirLayoutAtTheScreensScale)
{
    const qreal ratio = splash->devicePixelRatioF();
    const qreal factor = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                             ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                             : 1.0;
    EXPECT_DOUBLE_EQ(ratio, factor);

    // The client areas keep their sizes in device-independent pixels, and
    // every caption still fits its label at this scale.
    EXPECT_EQ(splash->size(), QSize(337, 278));
    EXPECT_EQ(course()->size(), QSize(495, 408));
    for (QWidget *window : windows()) {
        SCOPED_TRACE(window->objectName().toStdString());
        const QPixmap grabbed = window->grab();
        EXPECT_DOUBLE_EQ(grabbed.devicePixelRatio(), ratio);
        EXPECT_EQ(grabbed.deviceIndependentSize().toSize(), window->size());
        for (QLabel *label : window->findChildren<QLabel *>()) {
            if (!label->isVisibleTo(window) || label->text().isEmpty())
                continue;
            SCOPED_TRACE(label->objectName().toStdString());
            const QRect r = label->geometry();
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(r.width()), r.height());
            } else {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), r.width());
            }
            EXPECT_TRUE(label->parentWidget()->rect().contains(r));
        }
    }

    // The finish line as the screen shows it: one run of pure colour, as wide
    // as a course pixel on this screen.
    const QImage shown = course()->grab().toImage();
    for (int logicalRow : {10, 100, 190}) {
        const auto [first, width] = finishLineRun(shown, int(logicalRow * ratio));
        EXPECT_GE(width, int(std::floor(ratio))) << logicalRow;
        EXPECT_LE(width, int(std::ceil(ratio))) << logicalRow;
        EXPECT_NEAR(first, FinishColumn * ratio, 1.0) << logicalRow;
    }
}

// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// What a race frame repaints: the strips the horses' moves uncover and the
// horses themselves, never the whole course or window.
#include "platform/PictureBox.h"
#include "tests/support/MainWindowFixture.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <array>

namespace {
// Collects the region of every paint a widget receives.
class PaintRecorder final : public QObject {
public:
    explicit PaintRecorder(QWidget *widget) { widget->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};
} // namespace

TEST_F(MainWindowTest, ARaceFrameRepaintsOnlyWhereTheHorsesWereAndAre)
{
    open();
    click(button("cmdEndBet"));
    scriptRace(3, 1);
    auto *course = find<PictureBackground>(QStringLiteral("client"));
    std::array<PictureBox *, 4> horses{};
    std::array<QRect, 4> before;
    const char *names[] = {"imgAka", "imgCha", "imgKi", "imgShiro"};
    for (std::size_t i = 0; i < horses.size(); ++i) {
        horses[i] = find<PictureBox>(QLatin1String(names[i]));
        before[i] = horses[i]->geometry();
    }
    QCoreApplication::processEvents(); // the click's own repaint
    PaintRecorder recorder(course);

    int framesPainted = 0;
    QRegion everything;
    pacer.onFrame = [&](int frame) {
        recorder.painted = QRegion();
        QCoreApplication::processEvents(); // the repaint, as the game's pacer lets it happen
        QRegion moved;
        for (std::size_t i = 0; i < horses.size(); ++i) {
            moved += before[i];
            moved += horses[i]->geometry();
            before[i] = horses[i]->geometry();
        }
        // The first frame also shows the buttons and menus the race locks.
        if (frame == 1)
            return;
        EXPECT_TRUE(recorder.painted.subtracted(moved).isEmpty())
            << "frame " << frame << " repainted beyond the horses: "
            << recorder.painted.boundingRect().width() << "x" << recorder.painted.boundingRect().height();
        framesPainted += !recorder.painted.isEmpty();
        everything += recorder.painted;
    };
    click(button("cmdStart"));
    pacer.onFrame = nullptr;

    // The horses ran the whole course, and every frame showed their move.
    EXPECT_EQ(pacer.frames, 636 / frmRumida::StepsPerFrame);
    EXPECT_EQ(framesPainted, pacer.frames - 1);
    EXPECT_GT(everything.boundingRect().width(), 400);
}

// The course drawn a few small rectangles at a time, as race frames draw it,
// leaves the very pixels of drawing it whole, at any scale factor.
TEST_F(MainWindowTest, TheCourseDrawnInPartsEqualsTheCourseDrawnWhole)
{
    open();
    auto *course = find<PictureBackground>(QStringLiteral("client"));
    const qreal ratio = course->devicePixelRatioF();
    QImage whole(course->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    whole.setDevicePixelRatio(ratio);
    whole.fill(Qt::magenta);
    course->render(&whole);

    // Strips and horse-sized patches at odd places, some reaching past the
    // picture's right and bottom edges into the plain background.
    QRegion parts;
    for (const QRect &rect : {QRect(101, 8, 41, 40), QRect(237, 55, 43, 40), QRect(3, 152, 1, 40),
                              QRect(455, 103, 40, 40), QRect(480, 190, 15, 30), QRect(0, 0, 7, 3)})
        parts += rect;
    QImage patched = whole.copy();
    {
        QPainter painter(&patched);
        for (const QRect &rect : parts)
            painter.fillRect(rect, Qt::magenta);
    }
    ASSERT_NE(patched, whole);
    course->render(&patched, QPoint(), parts, QWidget::DrawWindowBackground | QWidget::DrawChildren);
    EXPECT_EQ(patched, whole);
}

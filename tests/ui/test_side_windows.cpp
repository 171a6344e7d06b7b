// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The gallery, help and version windows opened from the main window's menus.
#include "tests/support/Layout.h"
#include "tests/support/ProgramFixture.h"
#include "tests/support/TestServices.h"
#include "windows/Program.h"
#include "windows/frmCopy.h"
#include "windows/frmHelp.h"
#include "windows/frmVersion.h"
#include "windows/frmZelko.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {
template <class T> T *child(QWidget *window, const char *name)
{
    T *control = window->findChild<T *>(QLatin1String(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

QString text(QWidget *window, const char *name)
{
    return child<QLabel>(window, name)->text();
}

qint64 pictureKey(QWidget *window, const char *name)
{
    return child<QWidget>(window, name)->property("Picture").value<QPixmap>().cacheKey();
}

int countWindows(const char *name)
{
    int count = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        count += window->objectName() == QLatin1String(name);
    return count;
}

// A close request from the desktop: the title bar's close box.
void closeBox(QWidget *window)
{
    ASSERT_NE(window->windowHandle(), nullptr);
    window->windowHandle()->close();
}
} // namespace

class SideWindowsTest : public ::testing::Test, protected ScriptedProgram {
protected:
    void SetUp() override
    {
        program.start(1ms);
        ASSERT_TRUE(QTest::qWaitFor([this] { return main()->isVisible(); }));
    }
    void TearDown() override { EXPECT_FALSE(messages.unexpected); }

    frmRumida *main() const { return program.builtMainWindow(); }
    SideWindows &side() { return program.sideWindows(); }

    void pick(const char *name)
    {
        auto *action = main()->findChild<QAction *>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    frmZelko *openGallery()
    {
        pick("mnuZelko");
        frmZelko *gallery = side().gallery();
        EXPECT_NE(gallery, nullptr);
        return gallery;
    }
    // The three side windows, opened from their menu items.
    struct Open {
        QPointer<frmZelko> gallery;
        QPointer<frmHelp> help;
        QPointer<frmVersion> version;
    };
    Open openAll()
    {
        openGallery();
        pick("mnuHow");
        pick("mnuVer");
        Open open{side().gallery(), side().help(), side().version()};
        EXPECT_TRUE(open.gallery && open.help && open.version);
        return open;
    }
    void click(QWidget *window, const char *button)
    {
        QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
    }
};

TEST_F(SideWindowsTest, GalleryOpensAtPhotographOneWithTheFocusOnNext)
{
    frmZelko *gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(gallery));
    EXPECT_EQ(gallery->windowTitle(), QStringLiteral("ゼルコ写真集"));
    EXPECT_EQ(gallery->size(), QSize(339, 344));
    EXPECT_TRUE(gallery->windowIcon().isNull());
    EXPECT_EQ(gallery->parentWidget(), nullptr);
    EXPECT_EQ(text(gallery, "lblNumber"), QStringLiteral("1"));
    EXPECT_EQ(gallery->picNumber(), 1);

    // The display shows the holder's very picture, 320 x 240 at its place.
    EXPECT_EQ(pictureKey(gallery, "imgDefault"), pictureKey(gallery, "Image1"));
    auto *display = child<QWidget>(gallery, "imgDefault");
    EXPECT_EQ(display->geometry(), QRect(8, 8, 320, 240));
    for (int n = 1; n <= 8; ++n) {
        auto *holder = child<QWidget>(gallery, qPrintable(QStringLiteral("Image%1").arg(n)));
        EXPECT_FALSE(holder->isVisible()) << n;
        EXPECT_FALSE(holder->property("Picture").value<QPixmap>().isNull()) << n;
    }

    QStringList walked{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(walked, (QStringList{"cmdNextPic", "cmdBackPic", "Command1", "cmdNextPic"}));
}

TEST_F(SideWindowsTest, GalleryStepsThroughTheRingBothWays)
{
    frmZelko *gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    QSet<qint64> seen;
    for (int press = 1; press <= 8; ++press) {
        click(gallery, "cmdNextPic");
        const int expected = press % 8 + 1;
        EXPECT_EQ(text(gallery, "lblNumber"), QString::number(expected));
        EXPECT_EQ(pictureKey(gallery, "imgDefault"),
                  pictureKey(gallery, qPrintable(QStringLiteral("Image%1").arg(expected))));
        seen.insert(pictureKey(gallery, "imgDefault"));
    }
    EXPECT_EQ(seen.size(), 8); // eight different photographs
    EXPECT_EQ(text(gallery, "lblNumber"), QStringLiteral("1"));

    for (int expected : {8, 7, 6, 5, 4, 3, 2, 1, 8}) {
        click(gallery, "cmdBackPic");
        EXPECT_EQ(text(gallery, "lblNumber"), QString::number(expected));
        EXPECT_EQ(pictureKey(gallery, "imgDefault"),
                  pictureKey(gallery, qPrintable(QStringLiteral("Image%1").arg(expected))));
    }

    // Space and Enter on the focused ">" step too.
    QWidget *next = child<QPushButton>(gallery, "cmdNextPic");
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Space);
    QTest::keyClick(next, Qt::Key_Return);
    EXPECT_EQ(text(gallery, "lblNumber"), QStringLiteral("2"));
}

TEST_F(SideWindowsTest, ChoosingAnOpenWindowAgainOnlyBringsItToTheFront)
{
    frmZelko *gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    click(gallery, "cmdNextPic");
    click(gallery, "cmdNextPic");
    pick("mnuHow");
    frmHelp *help = side().help();
    ASSERT_NE(help, nullptr);
    auto *text1 = child<QPlainTextEdit>(help, "Text1");
    text1->selectAll();
    QTest::keyClicks(text1, QStringLiteral("abc"));
    pick("mnuVer");
    frmVersion *version = side().version();
    ASSERT_NE(version, nullptr);

    main()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main()));
    pick("mnuZelko");
    EXPECT_EQ(side().gallery(), gallery);
    EXPECT_TRUE(QTest::qWaitForWindowActive(gallery));
    EXPECT_EQ(text(gallery, "lblNumber"), QStringLiteral("3"));
    pick("mnuHow");
    EXPECT_EQ(side().help(), help);
    EXPECT_EQ(text1->toPlainText(), QStringLiteral("abc"));
    pick("mnuVer");
    EXPECT_EQ(side().version(), version);
    EXPECT_EQ(countWindows("frmZelko"), 1);
    EXPECT_EQ(countWindows("frmHelp"), 1);
    EXPECT_EQ(countWindows("frmVersion"), 1);
}

TEST_F(SideWindowsTest, ClosedWindowsAreDestroyedAndOpenAfresh)
{
    frmZelko *gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    click(gallery, "cmdNextPic");
    click(gallery, "cmdNextPic");
    QPointer<frmZelko> first(gallery);
    closeBox(gallery);
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }));
    EXPECT_EQ(side().gallery(), nullptr);
    EXPECT_TRUE(main()->isVisible());

    gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    EXPECT_EQ(text(gallery, "lblNumber"), QStringLiteral("1"));
    EXPECT_EQ(pictureKey(gallery, "imgDefault"), pictureKey(gallery, "Image1"));

    // "戻る" closes it as well.
    first = gallery;
    click(gallery, "Command1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }));

    // Text typed into the help box is gone at the next opening.
    pick("mnuHow");
    QPointer<frmHelp> help(side().help());
    ASSERT_FALSE(help.isNull());
    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("typed"));
    EXPECT_TRUE(child<QPlainTextEdit>(help, "Text1")->toPlainText().startsWith(QStringLiteral("typed")));
    click(help, "Command1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return help.isNull(); }));
    pick("mnuHow");
    ASSERT_NE(side().help(), nullptr);
    EXPECT_EQ(child<QPlainTextEdit>(side().help(), "Text1")->toPlainText(),
              QString(frmHelp::helpText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    QPointer<frmVersion> version;
    pick("mnuVer");
    version = side().version();
    ASSERT_FALSE(version.isNull());
    closeBox(version);
    ASSERT_TRUE(QTest::qWaitFor([&] { return version.isNull(); }));
}

TEST_F(SideWindowsTest, HelpTextIsTheFourteenLinesEachEndedWithCrLf)
{
    const QString ideographic(QChar(0x3000));
    const QStringList lines{
        "使い方は簡単です。",
        QString(16, QChar(0x3000)),
        "賭けたい馬番連勝の場所をチェックします。そして、左のテキストボックスにかけた",
        "い金額を数字だけで入れます。",
        ideographic,
        "賭けたい場所全てに賭けたら、次は「賭け終了」のボタンを押し、「レース開始」を押",
        "しますと、レースがスタートします。",
        ideographic,
        "レース終了後、配当金が下に表示されます。そして、「次のレース」に進みます。",
        ideographic,
        "賭ける時点で、お金はマイナスになっても大丈夫ですが、レース終了時点でお金",
        "がマイナスの場合は、ゲームオーバーとなりますので注意してください。",
        ideographic,
        "おまけのゼルコ写真集は、僕が去年（１９９８）の夏に撮った物です。横にいてる小さい馬はゼルコの初の子供です。",
    };
    EXPECT_EQ(frmHelp::helpText(), lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));

    pick("mnuHow");
    frmHelp *help = side().help();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    auto *text1 = child<QPlainTextEdit>(help, "Text1");
    // The box keeps each CR LF as one line break; the last one leaves an empty last line.
    EXPECT_EQ(text1->toPlainText(), lines.join(QStringLiteral("\n")) + QStringLiteral("\n"));
    EXPECT_EQ(text1->document()->blockCount(), 15);
    EXPECT_EQ(QApplication::focusWidget(), text1);
    EXPECT_FALSE(text1->isReadOnly());
    EXPECT_EQ(text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(text1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(text1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(help->windowTitle(), QStringLiteral("ルミダ　使い方"));
    EXPECT_EQ(help->size(), QSize(432, 249));
    EXPECT_TRUE(help->windowIcon().isNull());

    // The lower part of the text is reached by moving the caret.
    QTest::keyClick(text1, Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(text1->viewport()->rect().contains(text1->cursorRect()));
    EXPECT_GT(text1->verticalScrollBar()->value(), 0);
}

TEST_F(SideWindowsTest, VersionWindowHasACyanBackButtonThatHoldsTheFocus)
{
    pick("mnuVer");
    frmVersion *version = side().version();
    ASSERT_NE(version, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(version));
    EXPECT_EQ(version->windowTitle(), QStringLiteral("ルミダ　バージョン情報"));
    EXPECT_EQ(version->size(), QSize(289, 209));
    EXPECT_TRUE(version->windowIcon().isNull());
    EXPECT_TRUE(version->windowFlags().testFlag(Qt::Tool)); // a tool window: not in the taskbar

    auto *command1 = child<QPushButton>(version, "Command1");
    EXPECT_EQ(QApplication::focusWidget(), command1);
    QTest::keyClick(command1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), command1);

    // The face really is cyan as drawn, beside the caption.
    const QImage face = command1->grab().toImage();
    EXPECT_EQ(face.pixelColor(5, face.height() / 2), QColor(0, 255, 255));
    EXPECT_TRUE(text(version, "Label4").contains(QStringLiteral("rumida.example")));

    QPointer<frmVersion> closing(version);
    QTest::keyClick(command1, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return closing.isNull(); }));
}

TEST_F(SideWindowsTest, EveryWindowShowsItsTextWhole)
{
    const Open open = openAll();
    ASSERT_TRUE(open.gallery && open.help && open.version);
    expectLaidOut(open.gallery);
    expectLaidOut(open.help);
    expectLaidOut(open.version);

    // The splash, built by a game of its own that never hands over.
    ScriptedRandom otherRandom;
    Program other{GameServices{messages, beep, otherRandom, pacer}};
    expectLaidOut(&other.start(1h));
}

TEST_F(SideWindowsTest, SideWindowsStayOpenTogetherAndCloseOneByOne)
{
    const auto [gallery, help, version] = openAll();
    ASSERT_TRUE(gallery && help && version);
    for (QWidget *window : {static_cast<QWidget *>(main()), static_cast<QWidget *>(gallery),
                            static_cast<QWidget *>(help), static_cast<QWidget *>(version)}) {
        EXPECT_TRUE(window->isVisible()) << window->objectName().toStdString();
        EXPECT_EQ(window->parentWidget(), nullptr);
    }

    // The main window stays usable while they are open.
    main()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main()));
    QTest::mouseClick(child<QPushButton>(main(), "cmdEndBet"), Qt::LeftButton);
    EXPECT_TRUE(child<QPushButton>(main(), "cmdStart")->isEnabled());

    click(help, "Command1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return help.isNull(); }));
    EXPECT_TRUE(gallery && gallery->isVisible());
    EXPECT_TRUE(version && version->isVisible());
    EXPECT_TRUE(main()->isVisible());
    closeBox(gallery);
    ASSERT_TRUE(QTest::qWaitFor([&] { return gallery.isNull(); }));
    EXPECT_TRUE(version && version->isVisible());
    EXPECT_TRUE(main()->isVisible());
}

TEST_F(SideWindowsTest, QuittingTheGameClosesTheSideWindowsAndEndsTheProgram)
{
    const auto [gallery, help, version] = openAll();
    ASSERT_TRUE(gallery && help && version);

    messages.answer(MessageService::Answer::Ok);
    QTimer::singleShot(0, main(), [this] { pick("mnuEnd"); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(messages.asked.size(), 1);
    EXPECT_TRUE(gallery.isNull());
    EXPECT_TRUE(help.isNull());
    EXPECT_TRUE(version.isNull());
    for (QWidget *window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
}

TEST_F(SideWindowsTest, TheGalleryTakesNoInputWhileARaceRuns)
{
    frmZelko *gallery = openGallery();
    ASSERT_NE(gallery, nullptr);
    QPointer<frmZelko> alive(gallery);
    auto *next = child<QPushButton>(gallery, "cmdNextPic");
    auto *back = child<QPushButton>(gallery, "Command1");
    int tried = 0;
    QStringList seen;
    pacer.onFrame = [&](int) {
        QTest::mouseClick(next, Qt::LeftButton);
        next->setFocus();
        QTest::keyClick(next, Qt::Key_Space);
        QTest::mouseClick(back, Qt::LeftButton);
        seen << text(gallery, "lblNumber");
        ++tried;
    };

    main()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main()));
    QTest::mouseClick(child<QPushButton>(main(), "cmdEndBet"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(main(), "cmdStart"), Qt::LeftButton);
    pacer.onFrame = nullptr;

    ASSERT_GT(tried, 0);
    EXPECT_EQ(seen, QStringList(tried, QStringLiteral("1")));
    ASSERT_FALSE(alive.isNull());
    EXPECT_TRUE(gallery->isVisible());
    EXPECT_EQ(gallery->picNumber(), 1);
    // After the race the same click steps again.
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(text(gallery, "lblNumber"), QStringLiteral("2"));
}

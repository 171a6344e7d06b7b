// Every way a desktop moves the focus or the text of an amount box behind the
// game's back, each followed by the money rules' invariants: an unticked pair
// has an empty, disabled box; a ticked pair whose box does not hold the
// window's focus has had exactly the stake its text stands for taken; the box
// that holds the focus has no stake taken.
#include "tests/support/MainWindowFixture.h"

#include "platform/NumberText.h"
#include "platform/WindowFocus.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

class FocusPathTest : public MainWindowTest {
protected:
    void SetUp() override { open(); }

    QWidget *ownFocus() const { return WindowFocus::of(window.get())->current(); }
};

TEST_F(FocusPathTest, AltThenAClickTakesTheTypedAmount)
{
    clickCheck("24");
    type("700");
    QTest::keyClick(window.get(), Qt::Key_Alt, Qt::AltModifier);
    std::cout << "after alt focus " << focusName().toStdString() << "\n";
    clickCheck("13");
    std::cout << "after click focus " << focusName().toStdString() << "\n";
    EXPECT_EQ(money(), QStringLiteral("￥9,300"));
    EXPECT_EQ(txt("24")->text(), QStringLiteral("￥700"));
}

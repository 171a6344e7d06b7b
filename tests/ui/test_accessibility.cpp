// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// What a screen reader is given of the windows, read from Qt's accessibility
// interfaces (the same ones its AT-SPI and UI Automation bridges serve): the
// names and roles of the controls, the pictures, the captions tied to the
// labels they name, no decorative rule, and the events that tell of a change
// of money and of a race's result. tests/atspi reads the same over AT-SPI.
//
// Qt hands out accessibility events only while its bridge is on, which the
// offscreen platform has none of: the events test runs again on an X server
// with the accessibility bus up (tests/atspi, atspi_label_events) and is
// skipped offscreen.
#include "platform/LineControl.h"
#include "platform/PictureBox.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/ProgramFixture.h"
#include "windows/frmCopy.h"
#include "windows/frmHelp.h"
#include "windows/frmVersion.h"
#include "windows/frmZelko.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QTest>
#include <vector>

using namespace std::chrono_literals;

namespace {
QAccessibleInterface *interfaceOf(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(iface, nullptr) << object->objectName().toStdString();
    return iface;
}

// Every interface a screen reader can reach from `root` through the children.
void collect(QAccessibleInterface *root, std::vector<QAccessibleInterface *> &all)
{
    all.push_back(root);
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *child = root->child(i);
        EXPECT_NE(child, nullptr) << "a hole among the children of " << root->text(QAccessible::Name).toStdString();
        if (child)
            collect(child, all);
    }
}

std::vector<QAccessibleInterface *> tree(QWidget *window)
{
    std::vector<QAccessibleInterface *> all;
    collect(interfaceOf(window), all);
    return all;
}

// "name (role)" of the controls that take the focus, in the order a screen
// reader walks them.
QStringList focusable(QWidget *window)
{
    QStringList read;
    for (QAccessibleInterface *iface : tree(window)) {
        if (iface->state().focusable)
            read << QStringLiteral("%1 (%2)").arg(iface->text(QAccessible::Name),
                                                 QString::number(int(iface->role()), 16));
    }
    return read;
}

QString entry(const char *name, QAccessible::Role role)
{
    return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(name), QString::number(int(role), 16));
}

// No rule reaches a screen reader, and each one's parent leaves it out.
void expectNoRules(QWidget *window)
{
    const auto lines = window->findChildren<LineControl *>();
    EXPECT_FALSE(lines.isEmpty()) << "the window has no rule to leave out";
    for (QAccessibleInterface *iface : tree(window))
        EXPECT_EQ(qobject_cast<LineControl *>(iface->object()), nullptr) << iface->object()->objectName().toStdString();
    for (LineControl *line : lines) {
        QAccessibleInterface *iface = interfaceOf(line);
        EXPECT_EQ(iface->parent()->indexOfChild(iface), -1) << line->objectName().toStdString();
        EXPECT_EQ(iface->role(), QAccessible::Separator);
        EXPECT_TRUE(iface->text(QAccessible::Name).isEmpty()) << line->objectName().toStdString();
    }
}

// The objects of the caption's relation of kind `relation`.
QList<QObject *> related(QObject *object, QAccessible::Relation relation)
{
    QList<QObject *> objects;
    for (const auto &pair : interfaceOf(object)->relations(relation))
        objects << pair.first->object();
    return objects;
}

// The name changes the accessibility bridge is told of, with the name each
// object had when it was told.
struct NameChange {
    QObject *object;
    QString name;
};
std::vector<NameChange> nameChanges;

void recordEvent(QAccessibleEvent *event)
{
    if (event->type() == QAccessible::NameChanged) {
        if (QAccessibleInterface *iface = event->accessibleInterface())
            nameChanges.push_back({event->object(), iface->text(QAccessible::Name)});
    }
}

QStringList namesHeard(QObject *object)
{
    QStringList names;
    for (const NameChange &change : nameChanges) {
        if (change.object == object)
            names << change.name;
    }
    return names;
}
} // namespace

class MainWindowAccessibility : public MainWindowTest {
protected:
    QLabel *labelNamed(const char *name) const { return find<QLabel>(QLatin1String(name)); }
};

TEST_F(MainWindowAccessibility, EveryFocusableControlHasAJapaneseNameAndTheHorsesAreNamedImages)
{
    open();
    QStringList expected;
    for (const char *pair : {"1-2", "1-3", "1-4", "2-3", "2-4", "3-4"}) {
        expected << entry((std::string(pair) + " に賭ける").c_str(), QAccessible::CheckBox)
                 << entry((std::string(pair) + " の賭け金").c_str(), QAccessible::EditableText);
    }
    expected << entry("賭け終了", QAccessible::Button) << entry("次のレース", QAccessible::Button)
             << entry("レース開始", QAccessible::Button);
    EXPECT_EQ(focusable(window.get()), expected);

    const char *horses[][2] = {
        {"imgAka", "1番 赤の馬"}, {"imgCha", "2番 茶色の馬"}, {"imgKi", "3番 黄色の馬"}, {"imgShiro", "4番 白の馬"}};
    for (const auto &[name, spoken] : horses) {
        QAccessibleInterface *horse = interfaceOf(find<PictureBox>(QLatin1String(name)));
        EXPECT_EQ(horse->role(), QAccessible::Graphic) << name;
        EXPECT_EQ(horse->text(QAccessible::Name), QString::fromUtf8(spoken));
        EXPECT_GE(horse->parent()->indexOfChild(horse), 0) << name << " is not among its parent's children";
    }
    expectNoRules(window.get());

    // The odds board is a group named by its caption, holding its twelve labels.
    QAccessibleInterface *odds = interfaceOf(find<QGroupBox>(QStringLiteral("fraOdds")));
    EXPECT_EQ(odds->role(), QAccessible::Grouping);
    EXPECT_EQ(odds->text(QAccessible::Name), QStringLiteral("オッズ"));
    EXPECT_EQ(odds->childCount(), 12);
    EXPECT_EQ(odds->relations(QAccessible::Labelled).size(), 12);
}

TEST_F(MainWindowAccessibility, MoneyResultAndPayoutAreLabelledByTheirCaptions)
{
    open();
    const std::pair<const char *, const char *> tied[] = {
        {"Label5", "lblCurrent"}, {"Label13", "lblWinner"}, {"Label12", "lblHaitou"}, {"Label6", "lbl12"},
        {"Label11", "lbl34"}};
    for (const auto &[captionName, valueName] : tied) {
        QLabel *caption = labelNamed(captionName);
        QLabel *value = labelNamed(valueName);
        EXPECT_TRUE(related(value, QAccessible::Label).contains(caption)) << valueName;
        EXPECT_TRUE(related(caption, QAccessible::Labelled).contains(value)) << captionName;
    }
    // The value label reads its value; the caption reads itself.
    EXPECT_EQ(interfaceOf(labelNamed("lblCurrent"))->text(QAccessible::Name), QStringLiteral("￥10,000"));
    EXPECT_EQ(interfaceOf(labelNamed("Label5"))->text(QAccessible::Name), QStringLiteral("現在の所持金："));
}

TEST_F(MainWindowAccessibility, AStakeTheResultThePayoutAndTheNextRaceAreAnnounced)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        GTEST_SKIP() << "Qt's accessibility bridge is off offscreen: run as atspi_label_events";
    // The bridge comes on once it has found the accessibility bus.
    ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 20000))
        << "Qt's accessibility bridge did not come on";
    open({0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f}); // every pair at 6
    QAccessible::installUpdateHandler(recordEvent);
    nameChanges.clear();

    QLabel *money = labelNamed("lblCurrent");
    QLabel *winner = labelNamed("lblWinner");
    QLabel *payout = labelNamed("lblHaitou");

    clickCheck("12");
    type(QStringLiteral("1500"));
    leaveBox();
    EXPECT_EQ(namesHeard(money), QStringList{QStringLiteral("￥8,500")});

    click(button("cmdEndBet"));
    scriptRace(1, 2);
    random.script({0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f}); // the next race's odds
    click(button("cmdStart"));
    EXPECT_EQ(namesHeard(winner), QStringList{QStringLiteral("1-2")});
    EXPECT_EQ(namesHeard(payout), QStringList{QStringLiteral("￥9,000")});
    EXPECT_EQ(namesHeard(money), (QStringList{QStringLiteral("￥8,500"), QStringLiteral("￥17,500")}));

    // The next race empties the result and the payout: heard too. An empty
    // label reads as its caption, the way Qt names a label by its buddy's.
    nameChanges.clear();
    click(button("cmdNext"));
    EXPECT_EQ(namesHeard(winner), QStringList{QStringLiteral("結果：")});
    EXPECT_EQ(namesHeard(payout), QStringList{QStringLiteral("配当：")});

    QAccessible::installUpdateHandler(nullptr);
}

class SideWindowAccessibility : public ::testing::Test, protected ScriptedProgram {
protected:
    void SetUp() override
    {
        program.start(1ms);
        ASSERT_TRUE(QTest::qWaitFor([this] { return program.builtMainWindow()->isVisible(); }));
    }
};

TEST_F(SideWindowAccessibility, WindowsReadAsWindowsTheirButtonsSayWhatTheyDoAndTheirRulesAreLeftOut)
{
    program.sideWindows().openGallery();
    program.sideWindows().openHelp();
    program.sideWindows().openVersion();
    frmZelko *gallery = program.sideWindows().gallery();
    frmHelp *help = program.sideWindows().help();
    frmVersion *version = program.sideWindows().version();

    for (QWidget *window : {static_cast<QWidget *>(gallery), static_cast<QWidget *>(help),
                            static_cast<QWidget *>(version)}) {
        QAccessibleInterface *iface = interfaceOf(window);
        EXPECT_EQ(iface->role(), QAccessible::Window) << window->objectName().toStdString();
        EXPECT_EQ(iface->text(QAccessible::Name), window->windowTitle());
    }
    EXPECT_EQ(focusable(gallery), (QStringList{entry("戻る", QAccessible::Button), entry("前の写真", QAccessible::Button),
                                               entry("次の写真", QAccessible::Button)}));
    EXPECT_EQ(interfaceOf(gallery->findChild<PictureBox *>(QStringLiteral("imgDefault")))->text(QAccessible::Name),
              QStringLiteral("ゼルコの写真"));
    EXPECT_EQ(focusable(help), (QStringList{entry("戻る", QAccessible::Button),
                                            entry("使い方の説明", QAccessible::EditableText)}));
    EXPECT_EQ(focusable(version), QStringList{entry("戻る", QAccessible::Button)});
    // The version window's rules stand among its labels, straight in the window.
    expectNoRules(version);
    EXPECT_EQ(interfaceOf(version)->childCount(), 7);
}

TEST_F(SideWindowAccessibility, TheSplashReadsItsCreditsAndNotItsRule)
{
    // A splash of its own, kept up while it is read.
    ScriptedProgram other;
    frmCopy &splash = other.program.start(std::chrono::minutes(1));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    EXPECT_EQ(interfaceOf(&splash)->role(), QAccessible::Window);
    EXPECT_EQ(interfaceOf(&splash)->text(QAccessible::Name), QStringLiteral("Form1"));
    QStringList labels;
    for (QAccessibleInterface *iface : tree(&splash)) {
        if (iface->role() == QAccessible::StaticText)
            labels << iface->text(QAccessible::Name);
    }
    EXPECT_EQ(labels.size(), 6) << labels.join(QLatin1Char(' ')).toStdString();
    expectNoRules(&splash);
}

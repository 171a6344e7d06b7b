// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Random play on a real desktop: the whole program on an X server with a
// window manager, played by the random player of the offscreen play through
// real X input only (XTEST, the path xdotool takes): clicks where the
// controls are on the screen, typed text, Alt, Escape, menus opened and items
// picked with the mouse and the keyboard, the window manager's close buttons
// and Alt+Tab, the middle-click paste of the X selection and Ctrl+V. The reference model referees:
// after every action, once the program has settled, everything the window
// shows must be what the model says. Races run unpaced so that a run holds
// many of them.
//
// RUMIDA_SEED=<seed> replays a seed (the same seed plays the same actions),
// RUMIDA_ACTIONS=<n> sets how many actions a run plays. With
// RUMIDA_SOAK_SECONDS=<s> it plays for that long instead, from a fresh seed,
// and watches the memory the program holds.
#include "tests/model/Player.h"
#include "tests/support/ModelReferee.h"
#include "tests/x11/DesktopGame.h"
#include "tests/x11/XServer.h"
#include "windows/frmHelp.h"
#include "windows/frmVersion.h"
#include "windows/frmZelko.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPixmapCache>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#if defined(__SANITIZE_ADDRESS__)
// The sanitizer allocator's count (sanitizer/allocator_interface.h, which
// GCC's packages do not ship).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <cstdlib>
#include <malloc.h>
#include <deque>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>

using namespace randomplay;

namespace {

constexpr int DefaultActions = 5000;
// How long one step of the player's may take on a loaded machine.
constexpr int StepMs = 20000;
// A game is played on one program until it is quit or this many actions
// have been played; then a fresh program starts the next game.
constexpr std::size_t ActionsPerGame = 300;
// How long the window may take to agree with the model once the input has
// arrived: the window manager acts on its own time.
constexpr int AgreeMs = 3000;
// What a failure prints of the actions before it.
constexpr std::size_t ReportedActions = 20;

// Where the side windows and the other program's window are put, clear of
// the main window in the middle of the 1920x1080 screen and of each other.
const QPoint GallerySlot(10, 40), HelpSlot(10, 440), VersionSlot(10, 740), ElsewhereSlot(1500, 60);

// The program's questions, each come up as a real message box and answered
// with real input, as the action says: Cancel with Escape, Yes with Return
// (its default button), OK and No with a click on the button.
class DesktopMessages final : public MessageService {
public:
    explicit DesktopMessages(XServer &xserver) : xserver_(xserver) {}

    ModelAnswer yesNo = ModelAnswer::No;
    ModelAnswer okCancel = ModelAnswer::Cancel;
    QList<ScriptedMessages::Question> asked;
    int answered = 0; // in all games
    bool failed = false;

    Answer ask(QWidget *owner, const QString &text, const QString &title, Buttons buttons, Icon icon,
               int defaultButton) override
    {
        asked.append({text, title, buttons, icon, defaultButton});
        const ModelAnswer answer = buttons == Buttons::YesNo ? yesNo : okCancel;
        QTimer::singleShot(0, [this, answer] { answerBox(answer); });
        return real_.ask(owner, text, title, buttons, icon, defaultButton);
    }

private:
    void answerBox(ModelAnswer answer)
    {
        QPointer<QMessageBox> box;
        const bool up = Desktop::waitFor(
            [&] {
                box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                // Active for the program and holding the X server's keyboard.
                return box && QApplication::activeWindow() == box && xserver_.inputFocus() == box->winId();
            },
            StepMs);
        if (!up) {
            failed = true;
            ADD_FAILURE() << "the message box was not activated";
            if (box)
                box->reject();
            return;
        }
        auto click = [this](const QWidget *button) {
            xserver_.move(xserver_.onScreen(button, button->rect().center()));
            xserver_.button(1, true);
            xserver_.button(1, false);
        };
        switch (answer) {
        case ModelAnswer::Cancel: xserver_.keys({XServer::Escape}); break;
        case ModelAnswer::Yes: xserver_.keys({XServer::Return}); break;
        case ModelAnswer::Ok: click(box->button(QMessageBox::Ok)); break;
        case ModelAnswer::No: click(box->button(QMessageBox::No)); break;
        }
        if (!Desktop::waitFor([&box] { return !box || !box->isVisible(); }, StepMs)) {
            failed = true;
            ADD_FAILURE() << "the message box did not take its answer";
            return;
        }
        ++answered;
    }

    XServer &xserver_;
    QtMessageService real_;
};

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

// The memory the program holds allocated. Under AddressSanitizer, as its
// allocator counts it: the resident memory there also holds what the
// sanitizer keeps for itself and never gives back (the allocation stacks it
// has seen, the quarantine of freed blocks), which grows with the run on its
// own. Otherwise, as glibc's allocator counts it.
long heapKiB()
{
#if defined(__SANITIZE_ADDRESS__)
    return long(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return long(mallinfo2().uordblks / 1024);
#endif
}

} // namespace

class DesktopRandomPlay : public DesktopGame {
protected:
    XServer xserver;
    DesktopMessages messages{xserver};
    refmodel::MainWindowModel model;
    Coverage coverage;
    // The player's last actions, for the report of a failure.
    std::deque<Action> recent;
    // What the context-menu items of the action did.
    std::string picks;
    qsizetype askedBefore = 0;
    // Another program's window, for the program to lose activation to.
    std::unique_ptr<QWidget> elsewhere;
    // Where the window manager's Alt+Tab led in the action, if it was used:
    // the window the manager made active (null: it found no other window).
    std::optional<QPointer<QWidget>> altTabbedTo;
    int topExtent = 0; // the height of the window manager's title bar
    long escapesFromDropdowns = 0;
    bool rightClickAside = false;

    void TearDown() override
    {
        game.reset();
        elsewhere.reset();
        DesktopGame::TearDown();
    }

    QWidget *sideWindow(int which) const
    {
        const SideWindows &sides = game->sideWindows();
        switch (which % 3) {
        case 0: return sides.gallery();
        case 1: return sides.help();
        default: return sides.version();
        }
    }

    // The program closed: its windows gone, and Qt's pixmap cache (which
    // keeps up to 10 MiB of drawn pixmaps by design) emptied, so that what is
    // still allocated is what outlives a game.
    void closeGame()
    {
        game.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QPixmapCache::clear();
    }

    // A fresh program with a fresh model; its first odds come from the action.
    void startGame(const Action &openAction)
    {
        closeGame();
        messages.asked.clear();
        askedBefore = 0;
        picks.clear(); // what the last game's last action did
        beep.count = 0;
        startFresh(random, model, openAction.drawSeed);
        DesktopGame::startGame(messages, noPacing);
        if (HasFatalFailure())
            return;
        model.open();
        dropUnusedDraws(random, model);
        if (topExtent == 0)
            topExtent = desktop.frameExtents(main()).top();
    }

    // ---- the player's input --------------------------------------------

    // Keys, and the program has handled them: press and release (a menu
    // bar takes the keyboard on Alt's release).
    void key(std::initializer_list<xcb_keysym_t> chord)
    {
        ASSERT_TRUE(xserver.keys(chord)) << "a key the keyboard map does not have";
        ASSERT_TRUE(xserver.pass()) << "the program never received the keys";
    }

    void type(const std::u16string &text)
    {
        ASSERT_TRUE(xserver.type(text)) << "a character the keyboard map does not have: " << utf8(text);
        ASSERT_TRUE(xserver.pass()) << "the program never received the typed keys";
    }

    // A click that the program receives: it has had the button's release
    // (the window manager, which takes the press first to activate the
    // window, hands it on in its own time).
    void click(const QWidget *control, QPoint at, int button = 1)
    {
        ASSERT_NE(control, nullptr);
        const int target = desktop.seen().releases + 1;
        xserver.move(xserver.onScreen(control, at));
        xserver.button(button, true);
        xserver.button(button, false);
        ASSERT_TRUE(Desktop::waitFor([&] { return desktop.seen().releases >= target; }, StepMs))
            << "the program never received the click on " << control->objectName().toStdString();
        xserver.pass();
    }
    void click(const QWidget *control) { click(control, Desktop::clickPoint(control)); }
    // A click on the window manager's decorations, which the program does not receive.
    void clickScreen(QPoint global)
    {
        xserver.move(global);
        xserver.button(1, true);
        xserver.button(1, false);
        xserver.pass();
    }

    // Alt+Tab: the window manager takes the keyboard (the program sees no
    // key) and activates the window it chooses, the one active before as a
    // rule. Which one that is, is the manager's to say: it is read from what
    // the manager publishes, and the model follows it.
    void altTab()
    {
        // From a settled desktop: the manager's account of the active window
        // may lag behind the program's (after a message box, say).
        ASSERT_TRUE(Desktop::waitFor(
            [&] {
                return QApplication::activeWindow()
                       && QApplication::activeWindow()->winId() == xserver.activeWindow();
            },
            StepMs))
            << "the window manager and the program disagree on the active window";
        const xcb_window_t before = xserver.activeWindow();
        // The keys are let go once the manager shows its list of windows: a
        // release it handled before it had begun would leave it cycling, the
        // keyboard held.
        const int popups = xserver.popupsMapped;
        ASSERT_TRUE(xserver.key(XServer::AltL, true));
        ASSERT_TRUE(xserver.key(XServer::Tab, true));
        const bool cycling = Desktop::waitFor([&] { return xserver.popupsMapped > popups; }, AgreeMs);
        ASSERT_TRUE(xserver.key(XServer::Tab, false));
        ASSERT_TRUE(xserver.key(XServer::AltL, false));
        ASSERT_TRUE(cycling) << "the window manager showed no list of windows for Alt+Tab";
        QWidget *to = nullptr;
        // While it cycles the manager may publish no active window at all.
        const auto moved = [&] {
            const xcb_window_t now = xserver.activeWindow();
            return now != before && now != XCB_NONE;
        };
        if (Desktop::waitFor(moved, AgreeMs)) {
            for (QWidget *window : QApplication::topLevelWidgets()) {
                if (window->isVisible() && window->winId() == xserver.activeWindow())
                    to = window;
            }
            ASSERT_NE(to, nullptr) << "Alt+Tab led to a window not the program's";
        }
        altTabbedTo = QPointer<QWidget>(to);
    }

    // A click on a window's title bar: the window manager activates the
    // window, the program receives nothing.
    void clickTitleBar(QWidget *window)
    {
        const QRect g = xserver.placeOf(window);
        clickScreen(QPoint(g.left() + g.width() / 3, g.top() - topExtent / 2));
        ASSERT_TRUE(waitActive(window));
    }

    // Another window activated, the way the action says: Alt+Tab, or a
    // click on the window's title bar.
    void bringForward(QWidget *window, bool byKeys)
    {
        if (byKeys)
            altTab();
        else if (QApplication::activeWindow() != window)
            clickTitleBar(window);
    }

    void waitPopup(QMenu *menu)
    {
        ASSERT_TRUE(Desktop::waitFor([menu] { return QApplication::activePopupWidget() == menu; }, StepMs))
            << menu->objectName().toStdString() << " did not open";
    }

    // A top menu opened from the keyboard: Alt unless the menu bar holds the
    // keyboard already, Right to its title, Down to open it.
    void openMenuByKeys(QMenu *dropdown)
    {
        QMenuBar *bar = main()->menuBar();
        if (!bar->activeAction())
            key({XServer::AltL});
        for (int step = 0; step < 3 && bar->activeAction() != dropdown->menuAction(); ++step)
            key({XServer::Right});
        ASSERT_EQ(bar->activeAction(), dropdown->menuAction());
        key({XServer::Down});
        waitPopup(dropdown);
    }

    void openMenu(QMenu *dropdown, bool byKeys)
    {
        if (QApplication::activePopupWidget() == dropdown)
            return;
        if (byKeys) {
            // From another open dropdown, Right moves to the next one.
            for (int step = 0; step < 3 && QApplication::activePopupWidget()
                               && QApplication::activePopupWidget() != dropdown;
                 ++step) {
                key({XServer::Right});
            }
            if (QApplication::activePopupWidget() != dropdown)
                openMenuByKeys(dropdown);
        } else if (QApplication::activePopupWidget()) {
            // With another dropdown open the pointer over a title opens its
            // dropdown (a click there would close it again). Not so after a
            // dropdown opened from the keyboard: there a click on the title
            // closes the open one, and the next click opens this one.
            QMenuBar *bar = main()->menuBar();
            const QPoint title = bar->actionGeometry(dropdown->menuAction()).center();
            xserver.move(xserver.onScreen(bar, title));
            xserver.pass();
            const auto opened = [dropdown] { return QApplication::activePopupWidget() == dropdown; };
            for (int clicks = 0; clicks < 2 && !Desktop::waitFor(opened, clicks ? StepMs : AgreeMs / 6); ++clicks) {
                click(bar, title);
                if (HasFatalFailure())
                    return;
            }
            waitPopup(dropdown);
        } else {
            QMenuBar *bar = main()->menuBar();
            click(bar, bar->actionGeometry(dropdown->menuAction()).center());
            waitPopup(dropdown);
        }
    }

    // A menu item picked: its dropdown opened (or reached) and the item
    // clicked, or walked to with Down and taken with Return.
    void pickItem(const char *item, bool byKeys)
    {
        auto *action = main()->findChild<QAction *>(QLatin1String(item));
        ASSERT_NE(action, nullptr) << item;
        auto *dropdown = qobject_cast<QMenu *>(action->parent());
        ASSERT_NE(dropdown, nullptr) << item;
        // The keys go to the active window: a player picks from the menus of
        // a window that is not active with the mouse, whose press on the
        // menu's title activates the window too.
        if (QApplication::activeWindow() != main())
            byKeys = false;
        openMenu(dropdown, byKeys);
        if (HasFatalFailure())
            return;
        if (!byKeys) {
            click(dropdown, dropdown->actionGeometry(action).center());
            return;
        }
        for (int step = 0; step < 4 && dropdown->activeAction() != action; ++step)
            key({XServer::Down});
        ASSERT_EQ(dropdown->activeAction(), action);
        key({XServer::Return});
    }

    // An item of an amount box's context menu, opened by a right click. Two
    // right clicks on one spot in quick succession are a double click, whose
    // second press closes the menu the first one opened: a player clicks
    // somewhere else in the box the second time, and so does this.
    void contextMenuPick(QWidget *box, const char *itemText)
    {
        rightClickAside = !rightClickAside;
        click(box, box->rect().center() + QPoint(rightClickAside ? 10 : 0, 0), 3);
        QMenu *menu = nullptr;
        ASSERT_TRUE(Desktop::waitFor(
            [&menu] { return (menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr; },
            StepMs))
            << "no context menu";
        QAction *chosen = nullptr;
        for (QAction *action : menu->actions()) {
            if (action->text().remove(QLatin1Char('&')).startsWith(QLatin1String(itemText)))
                chosen = action;
        }
        ASSERT_NE(chosen, nullptr) << "no context-menu item " << itemText;
        const bool picked = chosen->isEnabled();
        if (picked)
            click(menu, menu->actionGeometry(chosen).center());
        else
            key({XServer::Escape});
        ASSERT_TRUE(Desktop::waitFor([] { return !QApplication::activePopupWidget(); }, StepMs));
        picks += std::string(itemText) + (picked ? " picked; " : " refused; ");
    }

    void closeSide(QWidget *side, int byCloseBox)
    {
        if (!side || !side->isVisible())
            return;
        QPointer<QWidget> target(side);
        if (byCloseBox)
            clickScreen(closeButton(side));
        else
            click(side->findChild<QPushButton *>(QStringLiteral("Command1")));
        ASSERT_TRUE(Desktop::waitFor([&target] { return !target || !target->isVisible(); }, StepMs));
    }

    void showElsewhere()
    {
        if (!elsewhere) {
            elsewhere = std::make_unique<QWidget>();
            elsewhere->setObjectName(QStringLiteral("anotherProgram"));
            elsewhere->setWindowTitle(QStringLiteral("another program"));
            elsewhere->resize(240, 120);
        }
        if (!elsewhere->isVisible()) {
            elsewhere->show();
            ASSERT_TRUE(waitActive(elsewhere.get()));
            moveTo(elsewhere.get(), ElsewhereSlot);
        }
    }

    // The player's action on the real program, through the X server.
    void drive(const Action &a)
    {
        const QString digits = QLatin1String(PairDigits[a.arg % 6]);
        switch (a.kind) {
        case Kind::Open: break;
        case Kind::ClickCheck: click(chk(digits)); break;
        case Kind::ClickText: {
            TextBox *box = txt(digits);
            click(box);
            // The caret goes where the click lands: back to the end, where
            // the model types.
            if (ownFocus() == box && QApplication::focusWidget() == box)
                key({XServer::End});
            break;
        }
        case Kind::ClickButton:
            click(find<QWidget>(QLatin1String(refmodel::controlName(Buttons[a.arg % 3]))));
            break;
        case Kind::PressAway: {
            const QWidget *endBet = find<QWidget>(QStringLiteral("cmdEndBet"));
            const QWidget *away = find<QWidget>(QStringLiteral("lblWinner"));
            const int target = desktop.seen().releases + 1;
            xserver.move(xserver.onScreen(endBet, endBet->rect().center()));
            xserver.button(1, true);
            xserver.move(xserver.onScreen(away, away->rect().center()));
            xserver.button(1, false);
            ASSERT_TRUE(Desktop::waitFor([&] { return desktop.seen().releases >= target; }, StepMs));
            xserver.pass();
            break;
        }
        case Kind::Tab: key({XServer::Tab}); break;
        case Kind::Backtab: key({XServer::ShiftL, XServer::Tab}); break;
        case Kind::Space: key({XServer::Space}); break;
        case Kind::Enter: key({XServer::Return}); break;
        case Kind::Backspace: key({XServer::BackSpace}); break;
        case Kind::Type: type(a.text); break;
        case Kind::Paste:
            QGuiApplication::clipboard()->setText(QString::fromStdU16String(a.text));
            key({XServer::ControlL, 'v'});
            break;
        case Kind::StartOver: pickItem("mnuStartOver", a.byKeys); break;
        case Kind::MenuEnd: pickItem("mnuEnd", a.byKeys); break;
        case Kind::CloseBox: {
            // The window manager asks the window to close; the window asks
            // the player.
            const qsizetype asked = messages.asked.size();
            clickScreen(closeButton(main()));
            ASSERT_TRUE(Desktop::waitFor(
                [&] { return messages.asked.size() > asked && !QApplication::activeModalWidget(); }, StepMs))
                << "closing the window asked nothing";
            break;
        }
        case Kind::OpenGallery: pickItem("mnuZelko", a.byKeys); break;
        case Kind::OpenHelp: pickItem("mnuHow", a.byKeys); break;
        case Kind::OpenVersion: pickItem("mnuVer", a.byKeys); break;
        case Kind::GalleryNext:
        case Kind::GalleryBack:
            if (QWidget *gallery = game->sideWindows().gallery()) {
                click(gallery->findChild<QPushButton *>(
                    QLatin1String(a.kind == Kind::GalleryNext ? "cmdNextPic" : "cmdBackPic")));
            }
            break;
        case Kind::CloseGallery: closeSide(game->sideWindows().gallery(), a.arg); break;
        case Kind::CloseHelp: closeSide(game->sideWindows().help(), a.arg); break;
        case Kind::CloseVersion: closeSide(game->sideWindows().version(), a.arg); break;
        case Kind::Alt: key({XServer::AltL}); break;
        case Kind::Escape: key({XServer::Escape}); break;
        case Kind::OpenMenu: openMenu(menu(refmodel::menuName(TopMenus[a.arg % 3])), a.byKeys); break;
        case Kind::ClickAway: {
            const QWidget *row = find<QWidget>(QStringLiteral("lblWinner"));
            clickScreen(xserver.onScreen(row, row->rect().center()));
            ASSERT_TRUE(Desktop::waitFor([] { return !QApplication::activePopupWidget(); }, StepMs));
            break;
        }
        case Kind::ContextPaste:
            QGuiApplication::clipboard()->setText(QString::fromStdU16String(a.text));
            contextMenuPick(txt(digits), "Paste");
            break;
        case Kind::ContextUndo: contextMenuPick(txt(digits), "Undo"); break;
        case Kind::ContextSelectAllDelete:
            contextMenuPick(txt(digits), "Select All");
            contextMenuPick(txt(digits), "Delete");
            break;
        case Kind::Drop: ADD_FAILURE() << "no drops on the desktop"; break;
        case Kind::ActivateSide: {
            static const char *const items[] = {"mnuZelko", "mnuHow", "mnuVer"};
            QWidget *side = sideWindow(a.arg);
            if (side && side->isVisible())
                bringForward(side, a.byKeys);
            else
                pickItem(items[a.arg % 3], a.byKeys);
            break;
        }
        case Kind::SwitchAway:
            if (elsewhere && elsewhere->isVisible())
                bringForward(elsewhere.get(), a.byKeys);
            else
                showElsewhere();
            break;
        case Kind::Reactivate: bringForward(main(), a.byKeys); break;
        case Kind::MiddlePaste: {
            QGuiApplication::clipboard()->setText(QString::fromStdU16String(a.text), QClipboard::Selection);
            TextBox *box = txt(digits);
            click(box, QPoint(box->width() - 4, box->height() / 2), 2);
            break;
        }
        case Kind::HideTab:
        case Kind::Resize:
        case Kind::MultiTap:
        case Kind::TwoFingers:
        case Kind::DeadKey:
        case Kind::Reload: ADD_FAILURE() << "the page player's alone"; break;
        case Kind::Count: break;
        }
    }

    // What the window manager does around an action, on the model. A side
    // window a menu item opens comes up active, and so does the gallery
    // when its buttons are clicked; one closed gives the activation back to
    // the window active before it, the main window.
    void playOnDesktopModel(const Action &a)
    {
        if (altTabbedTo) {
            if (!*altTabbedTo)
                return; // no other window to go to
            if (*altTabbedTo == main())
                model.reactivate();
            else
                model.deactivate();
            return;
        }
        const bool galleryWasOpen = model.side.galleryOpen;
        playOnModel(a, model);
        switch (a.kind) {
        case Kind::OpenGallery:
        case Kind::OpenHelp:
        case Kind::OpenVersion: model.deactivate(); break;
        case Kind::GalleryNext:
        case Kind::GalleryBack:
            if (galleryWasOpen)
                model.deactivate();
            break;
        default: break;
        }
    }

    // ---- settling and comparing ----------------------------------------

    // Whether a window covers part of the main window on the screen, as the
    // X server has them (which decides where a click lands): Qt's account
    // of a window's place follows the window manager's notices, and may be
    // behind for a window just shown.
    bool coversMain(const QWidget *window)
    {
        const QRect frame = xserver.placeOf(window).marginsAdded(QMargins(1, topExtent, 1, 1));
        return frame.intersects(xserver.placeOf(main()).marginsAdded(QMargins(1, topExtent, 1, 1)));
    }

    void moveTo(QWidget *window, QPoint slot)
    {
        ASSERT_TRUE(desktop.xdotool({QStringLiteral("windowmove"), HostCommand::x11Window(window),
                                     QString::number(slot.x()), QString::number(slot.y())}));
        ASSERT_TRUE(Desktop::waitFor([&] { return !coversMain(window); }, StepMs))
            << window->objectName().toStdString() << " still covers the main window";
    }

    // The side windows open over the main window (the game centres them):
    // the player drags each one aside, to a place of its own.
    void keepSideWindowsAside()
    {
        const QPoint places[] = {GallerySlot, HelpSlot, VersionSlot};
        for (int which = 0; which < 3; ++which) {
            QWidget *side = sideWindow(which);
            if (side && side->isVisible() && coversMain(side)) {
                ASSERT_TRUE(QTest::qWaitForWindowExposed(side, StepMs));
                moveTo(side, places[which]);
            }
        }
    }

    // Waits until the program has handled everything the input caused: the
    // X server's events, then what the window manager does in answer (the
    // activation, the menus, the windows open) as far as the model says
    // what it must come to. A window that never gets there disagrees below.
    void settle()
    {
        EXPECT_TRUE(xserver.pass()) << "the X server's events did not come through";
        if (model.ending)
            return;
        const QWidget *dropdown = model.dropdown == Menu::None
                                      ? nullptr
                                      : menu(refmodel::menuName(model.dropdown));
        auto settled = [&] {
            const QWidget *window = QApplication::activeWindow();
            const bool active = window == main();
            if (active != model.active || !window)
                return false;
            // The program takes a window for active before the X server has
            // given it the keyboard (when a message box closes, say).
            if (xserver.inputFocus() != window->winId())
                return false;
            if (QApplication::activePopupWidget() != dropdown)
                return false;
            auto open = [](const QWidget *w) { return w && w->isVisible(); };
            return open(sideWindow(0)) == model.side.galleryOpen && open(sideWindow(1)) == model.side.helpOpen
                   && open(sideWindow(2)) == model.side.versionOpen;
        };
        // Whether it got there is the comparison's to say.
        static_cast<void>(Desktop::waitFor(settled, AgreeMs));
        xserver.pass();
    }

    referee::Record record() const
    {
        return referee::Record::of(messages.asked, askedBefore, beep.count, random, picks);
    }

    std::optional<referee::Mismatch> compare()
    {
        auto found = referee::compare(*main(), game->sideWindows(), record(), model);
        // Whatever still differs is given a little while to come right: the
        // window manager may still be on its way.
        if (found) {
            static_cast<void>(Desktop::waitFor(
                [&] {
                    xserver.pass();
                    found = referee::compare(*main(), game->sideWindows(), record(), model);
                    return !found;
                },
                AgreeMs));
        }
        return found;
    }

    // Plays one action on both.
    void play(const Action &a)
    {
        altTabbedTo.reset();
        picks.clear();
        model.picks.clear();
        model.asked.clear();
        askedBefore = messages.asked.size();
        if (!fits(a, model))
            return;
        messages.yesNo = a.yesNo;
        messages.okCancel = a.okCancel;
        model.yesNoAnswer = a.yesNo;
        model.okCancelAnswer = a.okCancel;
        supplyDraws(random, model, a.draws, a.drawSeed);

        if (a.okCancel == ModelAnswer::Ok) {
            // OK to the quit question ends the program's event loop, which
            // needs one running.
            QTimer::singleShot(0, main(), [this, &a] {
                drive(a);
                if (!main()->isEnding())
                    QCoreApplication::exit(0);
            });
            QApplication::exec();
        } else {
            drive(a);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        playOnDesktopModel(a);
        settle();
        if (!model.ending) {
            keepSideWindowsAside();
        }
        dropUnusedDraws(random, model);
    }

    // ---- the report of a disagreement ----------------------------------

    // A failure: the seed, the disagreement (when the window and the model
    // disagree; otherwise the failure above says what went wrong), the last
    // actions, both accounts and a picture of the screen.
    void report(std::uint64_t seed, long played, const referee::Mismatch *m)
    {
        std::ostringstream out;
        if (m) {
            out << "The window and the model disagree on \"" << m->field << "\" after action " << played << "\n"
                << "  window: " << m->window << "\n  model:  " << m->model << "\n";
        } else {
            out << "The player failed at action " << played << "\n";
        }
        out << "Seed " << seed << " (RUMIDA_SEED=" << seed << " replays it). The last " << recent.size()
            << " actions:\n";
        for (std::size_t i = 0; i < recent.size(); ++i)
            out << "  " << played - long(recent.size()) + long(i) + 1 << ". " << describe(recent[i]) << "\n";
        if (main() && !model.ending)
            out << "The window holds: " << referee::windowAccount(*main()) << "\nThe model holds:  "
                << referee::modelAccount(model) << "\n";
        const QString shot = QDir::temp().filePath(QStringLiteral("rumida-random-play-%1.png").arg(seed));
        if (QScreen *screen = QGuiApplication::primaryScreen(); screen && screen->grabWindow(0).save(shot))
            out << "The screen: " << shot.toStdString() << "\n";
        ADD_FAILURE() << out.str();
    }

    // Plays from `seed` until `enough` says so; the actions played.
    // Plays games until enough(actions played, whether between games) says so.
    template <class Enough> long run(std::uint64_t seed, Enough enough)
    {
        std::mt19937_64 rng(seed * 0x9E3779B97F4A7C15ull + 1);
        long played = 0;
        while (!enough(played, true)) {
            Action openAction;
            openAction.drawSeed = rng();
            startGame(openAction);
            if (HasFatalFailure())
                return played;
            recent.clear();
            if (auto m = compare()) {
                report(seed, played, &*m);
                return played;
            }
            for (std::size_t inGame = 0; inGame < ActionsPerGame && !model.ending && !enough(played, false); ++inGame) {
                const Action a = randomAction(rng, model, Alphabet::Desktop);
                recent.push_back(a);
                if (recent.size() > ReportedActions)
                    recent.pop_front();
                const refmodel::MainWindowModel before = model;
                play(a);
                ++played;
                coverage.count(a, before, model);
                escapesFromDropdowns += a.kind == Kind::Escape && before.dropdown != Menu::None;
                if (HasFailure() || messages.failed) {
                    report(seed, played, nullptr);
                    return played;
                }
                if (auto m = compare()) {
                    report(seed, played, &*m);
                    return played;
                }
            }
        }
        return played;
    }

    void printCounts(std::uint64_t seed, long played, double seconds)
    {
        std::cout << "Desktop random play: seed " << seed << ", " << played << " actions in " << seconds
                  << " s\n";
        coverage.realBoxes = messages.answered;
        coverage.print(std::cout);
        std::cout << "  Escape out of an open dropdown " << escapesFromDropdowns << "\n" << std::flush;
    }

    // The focus paths a real desktop adds each come up in at least one
    // action in twenty.
    void expectFocusPathsPlayed(long played)
    {
        const auto share = [played](long n) { return double(n) / double(played); };
        const long menuPicks = coverage.played[std::size_t(Kind::StartOver)]
                               + coverage.played[std::size_t(Kind::MenuEnd)]
                               + coverage.played[std::size_t(Kind::OpenGallery)]
                               + coverage.played[std::size_t(Kind::OpenHelp)]
                               + coverage.played[std::size_t(Kind::OpenVersion)];
        EXPECT_GE(share(coverage.played[std::size_t(Kind::Alt)]), 0.05) << "Alt";
        EXPECT_GE(share(escapesFromDropdowns), 0.05) << "one Escape out of a menu";
        EXPECT_GE(share(menuPicks), 0.05) << "a menu item picked";
        EXPECT_GE(share(coverage.played[std::size_t(Kind::ActivateSide)]), 0.05) << "a side window activated";
        EXPECT_GE(coverage.races, played / 50) << "races";
    }
};

TEST_F(DesktopRandomPlay, RandomPlayAgreesWithTheModel)
{
    RUMIDA_NEEDS_DESKTOP();
    const char *soakSeconds = std::getenv("RUMIDA_SOAK_SECONDS");
    if (soakSeconds && *soakSeconds)
        GTEST_SKIP() << "a soak runs the Soak test alone";
    std::uint64_t seed = 1;
    if (const char *chosen = std::getenv("RUMIDA_SEED"); chosen && *chosen)
        seed = std::strtoull(chosen, nullptr, 10);
    long actions = DefaultActions;
    if (const char *n = std::getenv("RUMIDA_ACTIONS"); n && *n)
        actions = std::atol(n);

    QElapsedTimer clock;
    clock.start();
    const long played = run(seed, [actions](long n, bool) { return n >= actions; });
    printCounts(seed, played, double(clock.elapsed()) / 1000.0);
    if (!HasFailure() && played >= 1000)
        expectFocusPathsPlayed(played);
}

// The same player for a set time from a fresh seed, with the program's
// memory read once the first game over after 1,000 actions has closed, and
// again at the end: what it holds allocated may grow no more than
// RUMIDA_SOAK_MARGIN_MIB beyond the first reading. The resident memory is
// printed beside it.
TEST_F(DesktopRandomPlay, Soak)
{
    RUMIDA_NEEDS_DESKTOP();
    const char *soakSeconds = std::getenv("RUMIDA_SOAK_SECONDS");
    if (!soakSeconds || !*soakSeconds)
        GTEST_SKIP() << "RUMIDA_SOAK_SECONDS=<seconds> runs the soak (make soak)";
    const qint64 limitMs = std::atoll(soakSeconds) * 1000;
    long marginKiB = 8 * 1024; // as make soak sets it
    if (const char *margin = std::getenv("RUMIDA_SOAK_MARGIN_MIB"); margin && *margin)
        marginKiB = std::atol(margin) * 1024;
    std::uint64_t seed = std::random_device{}();
    if (const char *chosen = std::getenv("RUMIDA_SEED"); chosen && *chosen)
        seed = std::strtoull(chosen, nullptr, 10);
    std::cout << "Soak: seed " << seed << " for " << soakSeconds << " s" << std::endl;

    QElapsedTimer clock;
    clock.start();
    // The memory is read between games, with the program closed: in mid-game
    // a reading holds whatever the open windows hold at that moment (the
    // gallery's photographs, a race's pictures), which comes and goes.
    long firstReadAt = -1;
    long atFirst = -1;
    long residentAtFirst = -1;
    const long played = run(seed, [&](long n, bool betweenGames) {
        if (betweenGames && n >= 1000 && atFirst < 0) {
            closeGame();
            firstReadAt = n;
            atFirst = heapKiB();
            residentAtFirst = residentKiB();
            std::cout << "Soak: after " << n << " actions (the first game over after 1000): allocated " << atFirst
                      << " KiB, resident " << residentAtFirst << " KiB" << std::endl;
        }
        return clock.elapsed() >= limitMs;
    });
    closeGame();
    const long atEnd = heapKiB();
    const long residentAtEnd = residentKiB();
    printCounts(seed, played, double(clock.elapsed()) / 1000.0);
    std::cout << "Soak: allocated after " << firstReadAt << " actions " << atFirst << " KiB, at the end (" << played
              << " actions) " << atEnd << " KiB, margin " << marginKiB << " KiB; resident " << residentAtFirst
              << " KiB, then " << residentAtEnd << " KiB" << std::endl;
    if (HasFailure())
        return;
    ASSERT_GE(atFirst, 0) << "the soak ended before 1000 actions";
    EXPECT_LE(atEnd, atFirst + marginKiB) << "the memory the program holds grew beyond the margin";
    expectFocusPathsPlayed(played);
}

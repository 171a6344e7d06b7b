// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Random play: the real main window, offscreen, and the reference model of
// tests/model are driven with the same random player actions and the same
// random draws, and must agree on everything the window shows after every
// action. A disagreement is shrunk to a short action list and printed with
// its seed; RUMIDA_SEED=<seed> replays that seed alone.
//
// Besides the game's own controls the player uses the desktop around the
// window: Alt (the menu bar takes the keyboard), a menu opened by its title
// and closed by Escape or a click elsewhere, the amount boxes' context menus,
// text dropped on a box, a side window or another program activated and the
// main window clicked or reactivated after it. The focus compared is the
// window's own (the control that holds it between the window's controls);
// Qt's focus widget must be that control too whenever the window is active
// and no menu holds the keyboard, or the player would be left with nowhere
// to type. The run ends with the number of actions of each kind.
#include "tests/model/Player.h"
#include "tests/support/ModelReferee.h"
#include "tests/support/MainWindowFixture.h"
#include "windows/SideWindows.h"
#include "windows/frmHelp.h"
#include "windows/frmVersion.h"
#include "windows/frmZelko.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>

namespace {

using namespace randomplay;
using referee::Mismatch;
using referee::serviceAnswer;

// Seeds run by default, and the actions each seed plays.
constexpr std::uint64_t DefaultSeeds[] = {1, 2, 3, 4, 5, 6, 7, 8};
constexpr int ActionsPerSeed = 2600;
// A game is played on one window until the program is quit or this many
// actions have been played; then a fresh window starts the next game.
constexpr std::size_t ActionsPerGame = 300;
// Shrinking a failure stops after this long and prints the shortest list so far.
constexpr auto ShrinkBudget = std::chrono::seconds(120);

// The game's questions, each answered as the action says: from the script,
// or in a real message box that the player answers with the mouse or keys.
class PlayerMessages final : public MessageService {
public:
    explicit PlayerMessages(ScriptedMessages &scripted) : scripted_(scripted) {}

    bool realBoxes = false;
    ModelAnswer yesNo = ModelAnswer::No;
    ModelAnswer okCancel = ModelAnswer::Cancel;
    QList<ScriptedMessages::Question> asked;
    int realAsked = 0;

    Answer ask(QWidget *owner, const QString &text, const QString &title, Buttons buttons, Icon icon,
               int defaultButton) override
    {
        asked.append({text, title, buttons, icon, defaultButton});
        const Answer answer = serviceAnswer(buttons == Buttons::YesNo ? yesNo : okCancel);
        if (!realBoxes) {
            scripted_.answer(answer);
            return scripted_.ask(owner, text, title, buttons, icon, defaultButton);
        }
        ++realAsked;
        QTimer::singleShot(0, [answer] { answerBox(answer); });
        return real_.ask(owner, text, title, buttons, icon, defaultButton);
    }

private:
    // Cancel by Escape, Yes by Enter on the default button, the others by a click.
    static void answerBox(Answer answer)
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box is up";
            return;
        }
        switch (answer) {
        case Answer::Cancel: QTest::keyClick(box, Qt::Key_Escape); break;
        case Answer::Yes: QTest::keyClick(box, Qt::Key_Return); break;
        case Answer::Ok: QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton); break;
        case Answer::No: QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton); break;
        }
    }

    ScriptedMessages &scripted_;
    QtMessageService real_;
};

} // namespace

class ModelPlayTest : public MainWindowTest {
protected:
    std::unique_ptr<SideWindows> sides;
    PlayerMessages playerMessages{messages};
    refmodel::MainWindowModel model;
    qsizetype askedBefore = 0;
    std::optional<bool> activeAfterBox;

    // Another program's window, for the main window to lose activation to.
    std::unique_ptr<QWidget> elsewhere;
    // What the context-menu items and drops of the action did on the window.
    std::string picks;

    static bool isMenuPick(Kind k)
    {
        return k == Kind::StartOver || k == Kind::MenuEnd || k == Kind::OpenGallery || k == Kind::OpenHelp
               || k == Kind::OpenVersion;
    }
    Coverage coverage;

    // Whether the action shows a menu or a window.
    static bool showsWindows(Kind k)
    {
        return isMenuPick(k) || k == Kind::OpenMenu || k == Kind::ContextPaste || k == Kind::ContextUndo
               || k == Kind::ContextSelectAllDelete || k == Kind::ActivateSide || k == Kind::SwitchAway
               || k == Kind::Reactivate;
    }

    void TearDown() override
    {
        sides.reset();
        elsewhere.reset();
        MainWindowTest::TearDown();
    }

    // Activates a top-level window and waits until it is the active one
    // (without QTest's 10 ms naps: offscreen, one pass of the event loop
    // usually does it).
    void activate(QWidget *w)
    {
        w->activateWindow();
        for (int i = 0; i < 20 && QApplication::activeWindow() != w; ++i)
            QCoreApplication::processEvents();
        if (QApplication::activeWindow() != w) {
            EXPECT_TRUE(QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }))
                << w->objectName().toStdString() << " not activated";
        }
    }

    QWidget *sideWindow(int which) const
    {
        switch (which % 3) {
        case 0: return sides->gallery();
        case 1: return sides->help();
        default: return sides->version();
        }
    }

    void note(const char *what, bool picked)
    {
        picks += std::string(what) + (picked ? " picked; " : " refused; ");
    }

    // A fresh window with fresh services, and a fresh model.
    void start(const Action &openAction)
    {
        window.reset();
        sides.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        messages.asked.clear();
        messages.unexpected = false;
        playerMessages.asked.clear();
        playerMessages.realBoxes = false;
        picks.clear();
        beep.count = 0;
        startFresh(random, model, openAction.drawSeed);
        window = std::make_unique<frmRumida>(GameServices{playerMessages, beep, random, pacer});
        sides = std::make_unique<SideWindows>();
        QObject::connect(window.get(), &frmRumida::galleryRequested, sides.get(), &SideWindows::openGallery);
        QObject::connect(window.get(), &frmRumida::helpRequested, sides.get(), &SideWindows::openHelp);
        QObject::connect(window.get(), &frmRumida::versionRequested, sides.get(), &SideWindows::openVersion);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        model.open();
        dropUnusedDraws(random, model);
    }

    // The player's action on the real window.
    void drive(const Action &a)
    {
        const char *pair = PairDigits[a.arg % 6];
        switch (a.kind) {
        case Kind::Open: break;
        case Kind::ClickCheck: clickCheck(pair); break;
        case Kind::ClickText:
            click(txt(pair));
            // A click into the focused box sets the caret where it lands: put
            // it back at the end, where the model types (the box may hold the
            // focus of a window that is not active, so the key goes to it).
            if (ownFocus() == txt(pair))
                QTest::keyClick(txt(pair), Qt::Key_End);
            break;
        case Kind::ClickButton: click(button(refmodel::controlName(Buttons[a.arg % 3]))); break;
        case Kind::PressAway: leaveBox(); break;
        case Kind::Tab: key(Qt::Key_Tab); break;
        case Kind::Backtab: key(Qt::Key_Backtab, Qt::ShiftModifier); break;
        case Kind::Space: key(Qt::Key_Space); break;
        case Kind::Enter: key(Qt::Key_Return); break;
        case Kind::Backspace: key(Qt::Key_Backspace); break;
        case Kind::Type: type(QString::fromStdU16String(a.text)); break;
        case Kind::Paste: paste(QString::fromStdU16String(a.text)); break;
        case Kind::StartOver: pick("mnuStartOver"); break;
        case Kind::MenuEnd: pick("mnuEnd"); break;
        case Kind::CloseBox: window->close(); break;
        case Kind::OpenGallery: pick("mnuZelko"); break;
        case Kind::OpenHelp: pick("mnuHow"); break;
        case Kind::OpenVersion: pick("mnuVer"); break;
        case Kind::GalleryNext:
        case Kind::GalleryBack:
            if (QWidget *gallery = sides->gallery()) {
                auto *b = gallery->findChild<QPushButton *>(
                    QLatin1String(a.kind == Kind::GalleryNext ? "cmdNextPic" : "cmdBackPic"));
                ASSERT_NE(b, nullptr);
                click(b);
            }
            break;
        case Kind::CloseGallery: closeSide(sides->gallery(), a.arg); break;
        case Kind::CloseHelp: closeSide(sides->help(), a.arg); break;
        case Kind::CloseVersion: closeSide(sides->version(), a.arg); break;
        case Kind::Alt: tapAlt(); break;
        case Kind::Escape:
            if (auto *popup = QApplication::activePopupWidget()) {
                QTest::keyClick(popup, Qt::Key_Escape);
                EXPECT_TRUE(QTest::qWaitFor([popup] { return !popup->isVisible(); }));
            } else {
                key(Qt::Key_Escape);
            }
            break;
        case Kind::OpenMenu:
            openMenu(refmodel::menuName(TopMenus[a.arg % 3]));
            // The offscreen platform activates every window it shows, the
            // dropdown too, where a desktop leaves the main window active. Let
            // that activation through while the dropdown is up, where Qt makes
            // nothing of it, not after it closes, where it would take the
            // activation from the main window.
            QCoreApplication::processEvents();
            break;
        case Kind::ClickAway:
            // On the result row, which takes no click.
            if (auto *popup = QApplication::activePopupWidget()) {
                const QWidget *row = find<QWidget>(QStringLiteral("lblWinner"));
                const QPoint at = popup->mapFromGlobal(row->mapToGlobal(row->rect().center()));
                EXPECT_FALSE(popup->rect().contains(at));
                QTest::mouseClick(popup, Qt::LeftButton, Qt::NoModifier, at);
                EXPECT_TRUE(QTest::qWaitFor([popup] { return !popup->isVisible(); }));
            }
            break;
        case Kind::ContextPaste:
            QApplication::clipboard()->setText(QString::fromStdU16String(a.text));
            note("Paste", contextMenuPick(txt(pair), QStringLiteral("Paste")));
            break;
        case Kind::ContextUndo: note("Undo", contextMenuPick(txt(pair), QStringLiteral("Undo"))); break;
        case Kind::ContextSelectAllDelete:
            note("Select All", contextMenuPick(txt(pair), QStringLiteral("Select All")));
            note("Delete", contextMenuPick(txt(pair), QStringLiteral("Delete")));
            break;
        case Kind::Drop: {
            // At the box's right end: the drop lands at the end of a text that
            // ends inside the box.
            QWidget *box = txt(pair);
            const bool taken = dropTextAt(box, QString::fromStdU16String(a.text), QPointF(box->width() - 2, box->height() / 2.0));
            picks += taken ? "drop taken; " : "drop refused; ";
            break;
        }
        case Kind::ActivateSide: {
            static const char *const items[] = {"mnuZelko", "mnuHow", "mnuVer"};
            QWidget *side = sideWindow(a.arg);
            if (!side || !side->isVisible()) {
                pick(items[a.arg % 3]);
                side = sideWindow(a.arg);
            }
            ASSERT_NE(side, nullptr);
            activate(side);
            break;
        }
        case Kind::SwitchAway:
            if (!elsewhere) {
                elsewhere = std::make_unique<QWidget>();
                elsewhere->setObjectName(QStringLiteral("anotherProgram"));
                elsewhere->resize(200, 100);
            }
            // Quitting the game closes every top-level window, this one too.
            elsewhere->show();
            activate(elsewhere.get());
            break;
        case Kind::Reactivate: activate(window.get()); break;
        case Kind::MiddlePaste: break; // the desktop player's alone
        case Kind::HideTab:
        case Kind::Resize:
        case Kind::MultiTap:
        case Kind::TwoFingers:
        case Kind::DeadKey:
        case Kind::Reload: break; // the page player's alone
        case Kind::Count: break;
        }
    }

    void closeSide(QWidget *side, int byCloseBox)
    {
        if (!side)
            return;
        if (byCloseBox) {
            side->close();
        } else {
            auto *back = side->findChild<QPushButton *>(QStringLiteral("Command1"));
            ASSERT_NE(back, nullptr);
            click(back);
        }
    }

    // Plays one action on both; an answer of Ok may end the program, which
    // leaves the application's event loop, so that action runs inside one.
    void play(const Action &a)
    {
        picks.clear();
        model.picks.clear();
        askedBefore = playerMessages.asked.size();
        if (!fits(a, model))
            return;
        const int realBefore = playerMessages.realAsked;
        playerMessages.realBoxes = a.realBoxes;
        playerMessages.yesNo = a.yesNo;
        playerMessages.okCancel = a.okCancel;
        model.asked.clear();
        model.yesNoAnswer = a.yesNo;
        model.okCancelAnswer = a.okCancel;
        supplyDraws(random, model, a.draws, a.drawSeed);

        if (a.okCancel == ModelAnswer::Ok) {
            QTimer::singleShot(0, window.get(), [this, &a] {
                drive(a);
                if (!window->isEnding())
                    QCoreApplication::exit(0);
            });
            QApplication::exec();
        } else {
            drive(a);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Let the window system's pending activations through, so that the
        // next action starts from a settled desktop: offscreen, every window
        // shown is activated in turn, menus and message boxes included.
        if (showsWindows(a.kind) || playerMessages.realAsked != realBefore)
            QCoreApplication::processEvents();
        // The window that asked is active again once its message box is
        // answered (a menu pick reactivates the window itself).
        activeAfterBox.reset();
        if (playerMessages.realAsked != realBefore && !window->isEnding() && !isMenuPick(a.kind))
            activeAfterBox = QApplication::activeWindow() == window.get();
        playOnModel(a, model);
        // The desktop activates a window the player clicks into, and a
        // window comes back active from a menu; offscreen, nothing does.
        if (!window->isEnding() && model.active && QApplication::activeWindow() != window.get())
            activate(window.get());
        dropUnusedDraws(random, model);
    }

    // Every field the window shows, against the model. The first difference.
    std::optional<Mismatch> compare()
    {
        referee::Record record = referee::Record::of(playerMessages.asked, askedBefore, beep.count, random, picks);
        record.activeAfterBox = activeAfterBox;
        return referee::compare(*window, *sides, record, model);
    }

    // Plays a game from a fresh window; the first disagreement.
    std::optional<Mismatch> replay(const std::vector<Action> &actions)
    {
        start(actions.front());
        if (auto m = compare())
            return m;
        for (std::size_t i = 1; i < actions.size(); ++i) {
            play(actions[i]);
            if (auto m = compare()) {
                m->index = i;
                return m;
            }
            if (model.ending)
                break;
        }
        return std::nullopt;
    }

    // Delta debugging over the actions after the opening one: the shortest
    // list found that still fails on the same field.
    std::vector<Action> shrink(std::vector<Action> actions, const std::string &field)
    {
        QElapsedTimer clock;
        clock.start();
        auto fails = [&](const std::vector<Action> &candidate) {
            const auto m = replay(candidate);
            return m && m->field == field;
        };
        std::size_t chunks = 2;
        while (actions.size() > 2 && clock.elapsed() < std::chrono::milliseconds(ShrinkBudget).count()) {
            const std::size_t body = actions.size() - 1;
            chunks = std::min(chunks, body);
            const std::size_t size = (body + chunks - 1) / chunks;
            bool reduced = false;
            for (std::size_t start = 1; start < actions.size(); start += size) {
                std::vector<Action> candidate(actions.begin(), actions.begin() + std::ptrdiff_t(start));
                candidate.insert(candidate.end(),
                                 actions.begin() + std::ptrdiff_t(std::min(start + size, actions.size())),
                                 actions.end());
                if (candidate.size() >= 2 && fails(candidate)) {
                    actions = candidate;
                    chunks = std::max<std::size_t>(chunks - 1, 2);
                    reduced = true;
                    break;
                }
                if (clock.elapsed() >= std::chrono::milliseconds(ShrinkBudget).count())
                    break;
            }
            if (!reduced) {
                if (chunks >= body)
                    break;
                chunks = std::min(body, chunks * 2);
            }
        }
        // Cut what follows the failing action.
        if (const auto m = replay(actions))
            actions.resize(m->index + 1);
        return actions;
    }

    void report(std::uint64_t seed, int game, const std::vector<Action> &played, const Mismatch &first)
    {
        std::ostringstream out;
        out << "The window and the model disagree on \"" << first.field << "\" (seed " << seed << ", game "
            << game << ", action " << first.index << ": " << describe(played[first.index]) << ")\n"
            << "  window: " << first.window << "\n  model:  " << first.model << "\n";
        std::cout << out.str() << "Shrinking " << played.size() << " actions..." << std::endl;
        std::vector<Action> upTo(played.begin(), played.begin() + std::ptrdiff_t(first.index + 1));
        const std::vector<Action> shortest = shrink(upTo, first.field);
        const auto m = replay(shortest);
        out << "Shortest action list found (" << shortest.size() << " actions; rerun the seed with RUMIDA_SEED="
            << seed << "):\n";
        for (std::size_t i = 0; i < shortest.size(); ++i)
            out << "  " << i << ". " << describe(shortest[i]) << "\n";
        if (m) {
            out << "  after action " << m->index << ", \"" << m->field << "\": window " << m->window << ", model "
                << m->model << "\n";
        }
        ADD_FAILURE() << out.str();
    }

    // Plays `count` actions from `seed`, game after game. Returns the actions played.
    long runSeed(std::uint64_t seed, int count)
    {
        std::mt19937_64 rng(seed * 0x9E3779B97F4A7C15ull + 1);
        long played = 0;
        int game = 0;
        while (played < count) {
            std::vector<Action> actions;
            Action openAction;
            openAction.drawSeed = rng();
            actions.push_back(openAction);
            start(openAction);
            if (HasFatalFailure())
                return played;
            if (auto m = compare()) {
                report(seed, game, actions, *m);
                return played;
            }
            while (played < count && actions.size() <= ActionsPerGame && !model.ending) {
                const Action a = randomAction(rng, model);
                actions.push_back(a);
                EXPECT_TRUE(fits(a, model)) << "the player made an action that cannot be played: " << describe(a);
                const refmodel::MainWindowModel before = model;
                play(a);
                coverage.count(a, before, model);
                ++played;
                if (auto m = compare()) {
                    m->index = actions.size() - 1;
                    report(seed, game, actions, *m);
                    return played;
                }
                if (HasFatalFailure())
                    return played;
            }
            ++game;
        }
        return played;
    }
};

TEST_F(ModelPlayTest, RandomPlayAgreesWithTheModel)
{
    std::vector<std::uint64_t> seeds(std::begin(DefaultSeeds), std::end(DefaultSeeds));
    int perSeed = ActionsPerSeed;
    // RUMIDA_SEED=<seed> replays one seed; <first>-<last> plays a range of them.
    if (const char *chosen = std::getenv("RUMIDA_SEED"); chosen && *chosen) {
        char *end = nullptr;
        const std::uint64_t first = std::strtoull(chosen, &end, 10);
        const std::uint64_t last = *end == '-' ? std::strtoull(end + 1, nullptr, 10) : first;
        seeds.clear();
        for (std::uint64_t seed = first; seed <= last; ++seed)
            seeds.push_back(seed);
    }
    if (const char *n = std::getenv("RUMIDA_ACTIONS"); n && *n)
        perSeed = std::atoi(n);
    long total = 0;
    for (std::uint64_t seed : seeds) {
        total += runSeed(seed, perSeed);
        if (HasFailure())
            break;
    }
    coverage.realBoxes = playerMessages.realAsked;
    std::cout << "Model play: " << total << " actions over " << seeds.size() << " seed(s)\n";
    coverage.print(std::cout);
    std::cout << std::flush;
    if (!HasFailure() && seeds.size() > 1 && perSeed >= ActionsPerSeed) {
        // The default run must reach every kind of ending and answer.
        EXPECT_GE(coverage.races, 300);
        EXPECT_GE(coverage.noPair, 5);
        EXPECT_GE(coverage.payouts, 20);
        EXPECT_GE(coverage.ruins, 20);
        EXPECT_GE(coverage.quitConfirmed, 5);
        EXPECT_GE(coverage.refused, 20);
        EXPECT_GE(coverage.sideWindows, 50);
        EXPECT_GE(coverage.realBoxes, 50);
        // And the desktop's ways round the window's focus, each some hundred
        // times (a run plays about twice these).
        const std::pair<Kind, long> desktop[] = {
            {Kind::Alt, 400},           {Kind::Escape, 200},       {Kind::OpenMenu, 200},
            {Kind::ClickAway, 60},      {Kind::ContextPaste, 170}, {Kind::ContextUndo, 35},
            {Kind::ContextSelectAllDelete, 80}, {Kind::Drop, 300}, {Kind::ActivateSide, 300},
            {Kind::SwitchAway, 150},    {Kind::Reactivate, 150}};
        for (const auto &[kind, least] : desktop)
            EXPECT_GE(coverage.played[std::size_t(kind)], least) << kindName(kind);
        EXPECT_GE(coverage.leftFromMenus, 80);
        EXPECT_GE(coverage.leftInactive, 130);
        EXPECT_GE(coverage.backToTyping, 250);
        EXPECT_GE(coverage.dropsTaken, 60);
        EXPECT_GE(coverage.dropsRefused, 200);
        EXPECT_GE(coverage.contextPicks, 200);
    }
}

// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The page's random play, the program's half: the whole game, as the page
// runs it, with the random player of tests/model and its reference model as
// referee. The player's choices, the model and the comparison live here; the
// browser's half (play.mjs) turns each action into trusted input through the
// DevTools protocol and asks, once the page has handled it, whether the
// window agrees with the model. The game's draws are scripted, its questions
// come up as the real message boxes (answered by the browser's half with
// real input), and its races yield to the browser every few frames so that a
// run holds many of them; a race can be held at a frame while input is
// thrown at the page.
//
// window.rumidaPlay (all results are JSON):
//   begin(seedHigh, seedLow, touch)  a fresh game from the seed: a new program
//   opened()                         the model opens its window; compare()
//   next()                           the player's next action
//   front(window)                    a window brought forward to uncover its target
//   played()                         the action on the model: its questions
//   compare(first, second)           the first disagreement, or {}; the
//                                    context-menu items the action picked
//                                    (1) or found refused (2)
//   accept()                         the action's questions and picks agreed
//   holdRace(on), racing()           hold the next race at a frame; its state
//   settled()                        a promise: Qt has handled what came before
//   closeGame(), memory()            the program closed; the memory it holds
//   coverage()                       what this page's games reached
#include "app/Version.h"
#include "platform/Browser.h"
#include "platform/FramePacer.h"
#include "platform/GameLocale.h"
#include "platform/MessageService.h"
#include "platform/TextBox.h"
#include "race/frmRumida.h"
#include "tests/model/Player.h"
#include "tests/support/ModelReferee.h"
#include "tests/support/TestServices.h"
#include "windows/Program.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QPixmapCache>
#include <QTimer>
#include <emscripten.h>
#include <malloc.h>
#include <memory>
#include <random>
#include <sstream>
#include <string>

using namespace randomplay;

namespace {

// The real message boxes, each question recorded for the referee.
class RecordingMessages final : public MessageService {
public:
    QList<ScriptedMessages::Question> asked;

    Answer ask(QWidget *owner, const QString &text, const QString &title, Buttons buttons, Icon icon,
               int defaultButton) override
    {
        asked.append({text, title, buttons, icon, defaultButton});
        return real_.ask(owner, text, title, buttons, icon, defaultButton);
    }

private:
    QtMessageService real_;
};

// The page's tone, counted.
class CountedTone final : public BeepService {
public:
    int count = 0;
    void beep() override
    {
        ++count;
        tone_.beep();
    }

private:
    QtBeep tone_;
};

// The race's frames as the page paints them, one animation frame for every
// few of the game's: the race still yields to the browser (its input is
// shut out meanwhile, and the page stays answerable), but a run holds many
// races. A race can be held at its second painted frame for as long as the
// browser's half throws input at the page.
class PlayPacer final : public FramePacer {
public:
    static constexpr int FramesPerPaint = 8;
    bool holdNext = false; // the next race stops at a frame until this is cleared
    bool held = false;     // a race is stopped at a frame
    bool waiting = false;  // a race waits for the browser's next frame

    void start() override { frames_ = 0; }
    void frame() override
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (++frames_ % FramesPerPaint != 0)
            return;
        paint();
        if (holdNext && frames_ >= 2 * FramesPerPaint) {
            held = true;
            while (holdNext)
                paint();
            held = false;
        }
    }

private:
    void paint()
    {
        waiting = true;
        Browser::nextAnimationFrame();
        waiting = false;
    }
    long frames_ = 0;
};

std::string json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

QString qs(const std::u16string &s)
{
    return QString::fromStdU16String(s);
}

// The inputs thrown at the page while a race runs: clicks and taps on the
// main window's controls and its menu titles, keys, committed text and a drag
// of its title bar. The input gate throws them all away; the drag moves the
// window, which the game does not see.
QJsonArray raceNoise(int count, std::uint64_t seed)
{
    std::mt19937_64 rng(seed ^ 0x6e6f697365ull);
    static const char *const controls[] = {"chk12", "chk13", "chk14", "chk23", "chk24", "chk34", "txt12",
                                           "txt34", "cmdEndBet", "cmdStart", "cmdNext", "mnuFile", "mnuH",
                                           "mnuOmake"};
    static const char *const keys[] = {"Tab", "Space", "Enter", "Escape", "Alt", "Digit5", "Backspace"};
    static const char *const texts[] = {"5", "１２", "abc"};
    QJsonArray noise;
    for (int i = 0; i < count; ++i) {
        switch (rng() % 4) {
        case 0:
            noise.append(QJsonObject{{QStringLiteral("type"), QStringLiteral("key")},
                                     {QStringLiteral("key"), QLatin1String(keys[rng() % std::size(keys)])}});
            break;
        case 1:
            noise.append(QJsonObject{{QStringLiteral("type"), QStringLiteral("text")},
                                     {QStringLiteral("text"), QString::fromUtf8(texts[rng() % std::size(texts)])}});
            break;
        case 2:
            if (rng() % 3 == 0) {
                noise.append(QJsonObject{{QStringLiteral("type"), QStringLiteral("drag")}});
                break;
            }
            [[fallthrough]];
        default:
            noise.append(QJsonObject{{QStringLiteral("type"), QStringLiteral("click")},
                                     {QStringLiteral("control"), QLatin1String(controls[rng() % std::size(controls)])}});
            break;
        }
    }
    return noise;
}

class Play {
public:
    RecordingMessages messages;
    CountedTone beep;
    ScriptedRandom random;
    PlayPacer pacer;
    std::unique_ptr<Program> game;
    refmodel::MainWindowModel model;
    Coverage coverage;
    std::mt19937_64 rng;
    bool touch = false;
    qsizetype askedBefore = 0;
    Action pending;
    long skipped = 0;

    frmRumida *main() const { return game ? game->builtMainWindow() : nullptr; }

    // The program closed, its windows gone, and Qt's cache of drawn pixmaps
    // emptied, so that what is still allocated is what outlives a game.
    void closeGame()
    {
        game.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QPixmapCache::clear();
    }

    void begin(std::uint64_t seed, bool onTouch)
    {
        closeGame();
        rng.seed(seed);
        touch = onTouch;
        messages.asked.clear();
        askedBefore = 0;
        beep.count = 0;
        activated = {0};
        startFresh(random, model, rng());
        game = std::make_unique<Program>(GameServices{messages, beep, random, pacer});
        game->start(std::chrono::milliseconds(1));
    }

    std::string opened()
    {
        model.open();
        dropUnusedDraws(random, model);
        return compare({});
    }

    // The player's next action, drawn from the state the model shows. The
    // draws the page's last handler left are dropped first, and the
    // action's own are handed to the game and the model.
    std::string next()
    {
        dropUnusedDraws(random, model);
        Action a;
        for (int tries = 0;; ++tries) {
            a = randomAction(rng, model, Alphabet::Browser, touch);
            if (fits(a, model) || tries > 1000)
                break;
            ++skipped;
        }
        pending = a;
        model.yesNoAnswer = a.yesNo;
        model.okCancelAnswer = a.okCancel;
        supplyDraws(random, model, a.draws, a.drawSeed);
        if (a.kind == Kind::ContextPaste)
            QGuiApplication::clipboard()->setText(qs(a.text));
        QJsonObject out{{QStringLiteral("kind"), QLatin1String(kindName(a.kind))},
                        {QStringLiteral("arg"), a.arg},
                        {QStringLiteral("text"), qs(a.text)},
                        {QStringLiteral("yesNo"), QLatin1String(answerName(a.yesNo))},
                        {QStringLiteral("okCancel"), QLatin1String(answerName(a.okCancel))},
                        {QStringLiteral("byKeys"), a.byKeys},
                        {QStringLiteral("typedBy"), a.typedBy},
                        {QStringLiteral("taps"), a.taps},
                        {QStringLiteral("menuMode"), model.menuMode || model.dropdown != refmodel::Menu::None}};
        if (a.kind == Kind::DeadKey)
            out[QStringLiteral("key")] = QLatin1String(DeadKeys[std::size_t(a.arg) % std::size(DeadKeys)]);
        return json(out);
    }

    // The pending action played on the model, once the browser has brought
    // forward any window it had to uncover for it (front()): what the page
    // must be shown and asked meanwhile.
    std::string played()
    {
        Action &a = pending;
        const refmodel::MainWindowModel before = model;
        playOnPage(a);
        model.clearSupply();
        coverage.count(a, before, model);

        QJsonArray questions;
        for (std::size_t q = before.asked.size(); q < model.asked.size(); ++q) {
            const refmodel::Question &asked = model.asked[q];
            questions.append(QJsonObject{
                {QStringLiteral("title"), qs(asked.title)},
                {QStringLiteral("buttons"), asked.buttons == refmodel::Buttons::YesNo ? QStringLiteral("YesNo")
                                                                                     : QStringLiteral("OkCancel")}});
        }
        const bool race = model.reseeds - before.reseeds > 1 && model.horses != before.horses;
        a.rush = a.rush && !questions.isEmpty() && !model.ending;
        QJsonObject out{{QStringLiteral("rush"), a.rush},
                        {QStringLiteral("questions"), questions},
                        {QStringLiteral("race"), race},
                        {QStringLiteral("ending"), model.ending},
                        {QStringLiteral("description"), QString::fromStdString(describe(a))}};
        if (race && a.raceNoise > 0)
            out[QStringLiteral("noise")] = raceNoise(a.raceNoise, a.drawSeed);
        return json(out);
    }

    // The browser brought a window forward by a press on it, to uncover
    // what the action is aimed at or to move it aside: 0 the main window,
    // 1 to 3 the gallery, the help and the version window.
    void front(int which)
    {
        toFront(which);
        if (which == 0) {
            // A press in the window ends the menus' hold on the keyboard.
            model.reactivate();
            model.menuMode = false;
        } else {
            model.deactivate();
        }
    }

    // What the context-menu items of the pending action did, as the
    // referee reads it: 1 picked, 2 refused (offered disabled).
    std::string picksOf(int first, int second) const
    {
        auto item = [](const char *name, int state) {
            return state == 0 ? std::string() : std::string(name) + (state == 1 ? " picked; " : " refused; ");
        };
        switch (pending.kind) {
        case Kind::ContextPaste: return item("Paste", first);
        case Kind::ContextUndo: return item("Undo", first);
        case Kind::ContextSelectAllDelete: return item("Select All", first) + item("Delete", second);
        default: return {};
        }
    }

    std::string compare(const std::string &picks)
    {
        QJsonObject out;
        std::optional<referee::Mismatch> m;
        if (!main()) {
            m = referee::Mismatch{0, "program", "no main window", "a main window"};
        } else {
            m = referee::compare(*main(), game->sideWindows(),
                                 referee::Record::of(messages.asked, askedBefore, beep.count, random, picks), model);
            if (!m && !model.ending) {
                for (const QWidget *w : QApplication::topLevelWidgets()) {
                    if (w->isVisible() && qobject_cast<const QMessageBox *>(w))
                        m = referee::Mismatch{0, "message boxes", "one open: " + w->windowTitle().toStdString(),
                                              "none"};
                }
            }
        }
        if (m) {
            out[QStringLiteral("field")] = QString::fromStdString(m->field);
            out[QStringLiteral("window")] = QString::fromStdString(m->window);
            out[QStringLiteral("model")] = QString::fromStdString(m->model);
            out[QStringLiteral("windowHolds")] =
                QString::fromStdString(main() ? referee::windowAccount(*main()) : "no main window");
            out[QStringLiteral("modelHolds")] = QString::fromStdString(referee::modelAccount(model));
        }
        return json(out);
    }

    void accept()
    {
        askedBefore = messages.asked.size();
        model.asked.clear();
        model.picks.clear();
    }

    std::string memory() const
    {
        const int wasmBytes = EM_ASM_INT({ return HEAP8.length; });
        return json(QJsonObject{{QStringLiteral("allocated"), double(mallinfo().uordblks)},
                                {QStringLiteral("heap"), double(wasmBytes)}});
    }

    // What this page's games reached, for the run's tally across pages.
    std::string coverageCounts() const
    {
        QJsonObject kinds;
        for (std::size_t k = 1; k < KindCount; ++k) {
            if (coverage.played[k] > 0)
                kinds[QLatin1String(kindName(Kind(k)))] = double(coverage.played[k]);
        }
        return json(QJsonObject{{QStringLiteral("races"), double(coverage.races)},
                                {QStringLiteral("noPair"), double(coverage.noPair)},
                                {QStringLiteral("payouts"), double(coverage.payouts)},
                                {QStringLiteral("ruins"), double(coverage.ruins)},
                                {QStringLiteral("quitAsked"), double(coverage.quitAsked)},
                                {QStringLiteral("quitConfirmed"), double(coverage.quitConfirmed)},
                                {QStringLiteral("stakes"), double(coverage.stakes)},
                                {QStringLiteral("refused"), double(coverage.refused)},
                                {QStringLiteral("sideWindows"), double(coverage.sideWindows)},
                                {QStringLiteral("contextPicks"), double(coverage.contextPicks)},
                                {QStringLiteral("redrawn"), double(skipped)},
                                {QStringLiteral("kinds"), kinds}});
    }

private:
    // The order in which the game's windows were last activated (0 the main
    // window, 1 to 3 the side windows), as the page keeps it: when the
    // active window closes, the one active before it takes the keyboard.
    std::vector<int> activated{0};

    void toFront(int which)
    {
        std::erase(activated, which);
        activated.push_back(which);
    }

    // The action as the page plays it, on the model: a side window a menu
    // item opens comes up active, and so does the gallery when its buttons
    // are clicked; a side window closed while active hands the activation to
    // the window active before it.
    void playOnPage(const Action &a)
    {
        const bool galleryWasOpen = model.side.galleryOpen;
        const auto sideOpen = [this](int which) {
            return which == 1 ? model.side.galleryOpen : which == 2 ? model.side.helpOpen : model.side.versionOpen;
        };
        const bool wasOpen[4] = {true, sideOpen(1), sideOpen(2), sideOpen(3)};
        playOnModel(a, model);
        if (model.ending)
            return;
        int raised = -1;
        switch (a.kind) {
        case Kind::OpenGallery: raised = 1; break;
        case Kind::OpenHelp: raised = 2; break;
        case Kind::OpenVersion: raised = 3; break;
        case Kind::ActivateSide: raised = 1 + a.arg % 3; break;
        case Kind::GalleryNext:
        case Kind::GalleryBack:
            if (galleryWasOpen)
                raised = 1;
            break;
        default: break;
        }
        if (raised > 0) {
            model.deactivate();
            toFront(raised);
        } else if (model.active) {
            toFront(0);
        }
        for (int which = 1; which <= 3; ++which) {
            if (!wasOpen[which] || sideOpen(which))
                continue;
            const bool wasActive = activated.back() == which && !model.active;
            std::erase(activated, which);
            if (wasActive && activated.back() == 0)
                model.reactivate();
        }
    }
};

Play &play()
{
    static Play *p = new Play;
    return *p;
}

std::string result;
const char *hand(std::string s)
{
    result = std::move(s);
    return result.c_str();
}

} // namespace

// Plain exports, not embind: they are called while a handler waits (a race,
// a message box).
extern "C" {
EMSCRIPTEN_KEEPALIVE void rumida_play_begin(unsigned high, unsigned low, int touch)
{
    play().begin((std::uint64_t(high) << 32) | low, touch != 0);
}
EMSCRIPTEN_KEEPALIVE const char *rumida_play_opened()
{
    return hand(play().opened());
}
EMSCRIPTEN_KEEPALIVE const char *rumida_play_next()
{
    return hand(play().next());
}
EMSCRIPTEN_KEEPALIVE const char *rumida_play_compare(int first, int second)
{
    return hand(play().compare(play().picksOf(first, second)));
}
EMSCRIPTEN_KEEPALIVE void rumida_play_accept()
{
    play().accept();
}
EMSCRIPTEN_KEEPALIVE const char *rumida_play_played()
{
    return hand(play().played());
}
EMSCRIPTEN_KEEPALIVE void rumida_play_front(int which)
{
    play().front(which);
}
EMSCRIPTEN_KEEPALIVE void rumida_play_hold_race(int on)
{
    play().pacer.holdNext = on != 0;
}
EMSCRIPTEN_KEEPALIVE const char *rumida_play_racing()
{
    const PlayPacer &p = play().pacer;
    return hand(json(QJsonObject{{QStringLiteral("held"), p.held}, {QStringLiteral("waiting"), p.waiting}}));
}
EMSCRIPTEN_KEEPALIVE void rumida_play_close_game()
{
    play().closeGame();
}
EMSCRIPTEN_KEEPALIVE const char *rumida_play_memory()
{
    return hand(play().memory());
}
EMSCRIPTEN_KEEPALIVE const char *rumida_play_coverage()
{
    return hand(play().coverageCounts());
}
// Resolves the browser's promise `id` once Qt has handled every event posted
// before this call.
EMSCRIPTEN_KEEPALIVE void rumida_play_post(int id)
{
    QMetaObject::invokeMethod(
        qApp, [id] { EM_ASM({ window.rumidaPlay.resolve($0); }, id); }, Qt::QueuedConnection);
}
}

namespace {
EM_JS(void, rumidaPlayInstall, (), {
    var parsed = function(pointer) { return JSON.parse(UTF8ToString(pointer)); };
    var waiting = {};
    var last = 0;
    var posted = function() {
        return new Promise(function(resolve) {
            var id = ++last;
            waiting[id] = resolve;
            _rumida_play_post(id);
        });
    };
    window.rumidaPlay = {
        begin: function(high, low, touch) { _rumida_play_begin(high >>> 0, low >>> 0, touch ? 1 : 0); },
        opened: function() { return parsed(_rumida_play_opened()); },
        next: function() { return parsed(_rumida_play_next()); },
        compare: function(first, second) { return parsed(_rumida_play_compare(first || 0, second || 0)); },
        accept: function() { _rumida_play_accept(); },
        played: function() { return parsed(_rumida_play_played()); },
        front: function(which) { _rumida_play_front(which); },
        holdRace: function(on) { _rumida_play_hold_race(on ? 1 : 0); },
        racing: function() { return parsed(_rumida_play_racing()); },
        closeGame: function() { _rumida_play_close_game(); },
        memory: function() { return parsed(_rumida_play_memory()); },
        coverage: function() { return parsed(_rumida_play_coverage()); },
        resolve: function(id) {
            var done = waiting[id];
            delete waiting[id];
            if (done)
                done();
        },
        // Qt has handled what came before: the events posted until now, then
        // what a painted frame brought, then what that posted in turn.
        settled: function() {
            return posted().then(function() {
                return new Promise(function(resolve) { requestAnimationFrame(resolve); });
            }).then(posted);
        }
    };
});
} // namespace

int main(int, char **argv)
{
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    setUpApplication(gameLocale());
    QApplication::setApplicationVersion(QString::fromLatin1(rumida::Version));
    rumidaPlayInstall();
    return app.exec();
}

// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "race/frmRumida.h"

#include "platform/Accessibility.h"
#include "platform/BeepService.h"
#include "platform/CommandButton.h"
#include "platform/ControlTable.h"
#include "platform/Fonts.h"
#include "platform/FramePacer.h"
#include "platform/GameLocale.h"
#include "platform/MessageService.h"
#include "platform/NumberText.h"
#include "platform/PictureBox.h"
#include "platform/ProgramEnd.h"
#include "platform/Pictures.h"
#include "platform/RandomGenerator.h"
#include "platform/TextBox.h"
#include "platform/Twips.h"
#include "platform/WindowFocus.h"
#include "platform/WindowStyle.h"
#include "race/rules.h"
#include "resources/Resources.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>
#include <algorithm>

namespace {
using Kind = ControlSpec::Kind;

constexpr double ClientWidth = 7425;
constexpr double ClientHeight = 6120;

// The lanes, top to bottom: each horse stands in its stall with its number
// just left of it.
constexpr double LaneTop = 120;
constexpr double LaneStep = 720;
constexpr double LaneNumberLeft = 6720;
constexpr const char *HorseNames[rules::HorseCount] = {"imgAka", "imgCha", "imgKi", "imgShiro"};
constexpr const char *LaneNames[rules::HorseCount] = {"Label1", "Label2", "Label3", "Label4"};
constexpr const char *LaneNumbers[rules::HorseCount] = {"１", "２", "３", "４"};
// What a screen reader calls each horse: its number and colour.
constexpr const char *HorseAccessibleNames[rules::HorseCount] = {"1番 赤の馬", "2番 茶色の馬", "3番 黄色の馬",
                                                                 "4番 白の馬"};

constexpr double MoneyFont = 9.75;
constexpr double ResultFont = 14.25;
constexpr double ButtonLeft = 6120;
constexpr double ButtonWidth = 1215;
constexpr double ButtonHeight = 495;
constexpr double ResultTop = 5640;
constexpr double ResultHeight = 375;

constexpr ControlSpec MoneyCaption{Kind::SizedLabel, "Label5", "現在の所持金：", 120, 3240};
constexpr ControlSpec MoneyBox{Kind::Label, "lblCurrent", "", 1320, 3200, 1575, 255, MoneyFont};
constexpr ControlSpec OddsFrame{Kind::Frame, "fraOdds", "オッズ", 4680, 3120, 1335, 2295};
constexpr ControlSpec EndBetButton{Kind::Button, "cmdEndBet", "賭け終了", ButtonLeft, 3240, ButtonWidth, ButtonHeight};
constexpr ControlSpec NextButton{Kind::Button, "cmdNext", "次のレース", ButtonLeft, 3840, ButtonWidth, ButtonHeight};
constexpr ControlSpec StartButton{Kind::Button, "cmdStart", "レース開始", ButtonLeft, 4440, ButtonWidth, ButtonHeight};
constexpr ControlSpec ResultRule{Kind::Line, "Line1", "", 120, 5400, 4440};
// 855 wide would run 15 twips under lblWinner; the caption ends where it begins.
constexpr ControlSpec WinnerCaption{Kind::Label, "Label13", "結果：", 240, ResultTop, 840, ResultHeight, ResultFont};
constexpr ControlSpec WinnerBox{Kind::Label, "lblWinner", "", 1080, ResultTop, 1095, ResultHeight, ResultFont};
constexpr ControlSpec PayoutCaption{Kind::SizedLabel, "Label12", "配当：", 2520, ResultTop, 0, 0, ResultFont};
constexpr ControlSpec PayoutBox{Kind::Label, "lblHaitou", "", 3240, ResultTop, 2775, ResultHeight, ResultFont};

// The six pairs stand in two columns of three rows, each check box with its
// amount box to its right; the odds board has a row per pair, with a rule
// between rows. A screen reader names the check box and the amount box by
// what they do for the pair.
struct PairControls {
    const char *caption;
    const char *check;
    const char *amount;
    const char *odds;
    const char *oddsCaption;
    const char *rule; // above the row; none above the first
    const char *checkAccessibleName;
    const char *amountAccessibleName;
};
constexpr PairControls PairTable[rules::PairCount] = {
    {"1-2", "chk12", "txt12", "lbl12", "Label6", nullptr, "1-2 に賭ける", "1-2 の賭け金"},
    {"1-3", "chk13", "txt13", "lbl13", "Label7", "Line2", "1-3 に賭ける", "1-3 の賭け金"},
    {"1-4", "chk14", "txt14", "lbl14", "Label8", "Line3", "1-4 に賭ける", "1-4 の賭け金"},
    {"2-3", "chk23", "txt23", "lbl23", "Label9", "Line4", "2-3 に賭ける", "2-3 の賭け金"},
    {"2-4", "chk24", "txt24", "lbl24", "Label10", "Line5", "2-4 に賭ける", "2-4 の賭け金"},
    {"3-4", "chk34", "txt34", "lbl34", "Label11", "Line6", "3-4 に賭ける", "3-4 の賭け金"},
};
constexpr std::size_t PairRows = 3;
constexpr double PairTop = 3720;
constexpr double PairRowStep = 600;
constexpr double PairColumnStep = 2400;
constexpr double CheckLeft = 240;
constexpr double CheckWidth = 615;
constexpr double CheckHeight = 180;
constexpr double AmountLeft = 960;
constexpr double AmountWidth = 1215;
constexpr double AmountHeight = 270;
constexpr double OddsRowTop = 240;
constexpr double OddsRowStep = 360;
constexpr double OddsCaptionLeft = 120;
constexpr double OddsLeft = 600;
constexpr double OddsWidth = 585;
constexpr double OddsHeight = 180;
constexpr double OddsRuleAbove = 120;
constexpr double OddsRuleWidth = 1080;
// The gap the odds frame keeps from the button column when it grows.
constexpr int FrameGap = 3;

// A label in a single sunken border, its text aligned as given. It is fitted
// to its letters later, with the border, which takes room from them.
QLabel *boxedLabel(QWidget *parent, const ControlSpec &spec, Qt::Alignment alignment)
{
    auto *label = makeControlAs<QLabel>(parent, spec);
    label->setAlignment(alignment);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    return label;
}

// The course coordinates of the horse pictures, exposed to the race loop.
struct HorsePictures {
    std::array<PictureBox *, rules::HorseCount> &pictures;
    float left(int horse) const { return pictures[std::size_t(horse - 1)]->left(); }
    void setLeft(int horse, float value) { pictures[std::size_t(horse - 1)]->setLeft(value); }
};
} // namespace

frmRumida::frmRumida(GameServices services, QWidget *parent)
    : QMainWindow(parent), services_(services)
{
    setObjectName(QStringLiteral("frmRumida"));
    setWindowTitle(QStringLiteral("ルミダ　Ver1.01"));
    focus_ = new WindowFocus(this); // the amount boxes' focus handlers follow it

    // The window is built behind the splash, which must show as soon as it
    // can: the controls and the game state are made now; the menu bar is
    // made, the icon, the course and the horses decoded and the controls
    // fitted to their fonts by finishBuilding(), once the splash is on screen.
    course_ = new PictureBackground(QPixmap(), this);
    QWidget *client = course_;
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight));
    setCentralWidget(client);
    {
        DeferredFitting::Scope deferred(fitting_);
        buildCourse(client);
        buildPairs(client);
        buildOddsBoard(client);
        buildResults(client);
    }
    setTabOrder();
    applyWindowStyle(this, {BorderStyle::FixedSingle, true, {}});
    Form_Load();
    cmdEndBet->setFocus(Qt::OtherFocusReason);
}

frmRumida::~frmRumida()
{
    // No focus handler runs for a window that is being taken apart.
    delete focus_;
}

void frmRumida::finishBuilding()
{
    if (finished_)
        return;
    finished_ = true;
    buildMenus();
    setWindowIcon(decodeIcon(Resources::Icon));
    course_->setPicture(decodePicture(Resources::Course));
    const QString pictures[rules::HorseCount] = {Resources::HorseAka, Resources::HorseCha,
                                                 Resources::HorseKi, Resources::HorseShiro};
    for (std::size_t i = 0; i < horses_.size(); ++i)
        horses_[i]->setPicture(decodePicture(pictures[i]));
    fitting_.fit();
    placeLaneNumbers();
    fitOddsBoard();
    fitMoneyBox();
}

void frmRumida::setVisible(bool visible)
{
    if (visible)
        finishBuilding();
    QMainWindow::setVisible(visible);
}

void frmRumida::buildCourse(QWidget *client)
{
    for (std::size_t i = 0; i < horses_.size(); ++i) {
        const double top = LaneTop + LaneStep * double(i);
        laneNumbers_[i] = makeControlAs<QLabel>(
            client, {Kind::SizedLabel, LaneNames[i], LaneNumbers[i], LaneNumberLeft, top});
        auto *horse = new PictureBox(client);
        horse->setObjectName(QLatin1String(HorseNames[i]));
        horse->setAccessibleName(QString::fromUtf8(HorseAccessibleNames[i]));
        horse->setTop(top);
        horse->setLeft(rules::StartLeft);
        horses_[i] = horse;
    }
    auto *moneyCaption = makeControlAs<QLabel>(client, MoneyCaption);
    lblCurrent = boxedLabel(client, MoneyBox, Qt::AlignRight | Qt::AlignVCenter);
    Accessibility::tieCaption(moneyCaption, lblCurrent);
}

void frmRumida::placeLaneNumbers()
{
    // The lane number stands directly left of the stall: where the font's
    // digit is wider than the layout's, it grows to the left.
    for (QLabel *lane : laneNumbers_)
        lane->move(std::min(lane->x(), Twips::toPixels(rules::StartLeft) - lane->width()), lane->y());
}

void frmRumida::buildPairs(QWidget *client)
{
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        const PairControls &names = PairTable[i];
        const double column = PairColumnStep * double(i / PairRows);
        const double top = PairTop + PairRowStep * double(i % PairRows);
        Pair &pair = pairs_[i];
        pair.code = int(i) + 1;
        pair.caption = QLatin1String(names.caption);
        pair.chk = makeControlAs<QCheckBox>(client, {Kind::CheckBox, names.check, names.caption, CheckLeft + column,
                                                     top, CheckWidth, CheckHeight, 0, false,
                                                     names.checkAccessibleName});
        pair.txt = makeControlAs<TextBox>(client, {Kind::TextBox, names.amount, "", AmountLeft + column, top,
                                                   AmountWidth, AmountHeight, 0, false, names.amountAccessibleName});
        pair.txt->setEnabled(false);
        connect(pair.chk, &QCheckBox::toggled, this, [this, &pair] { chkNN_Click(pair); });
        connect(pair.txt, &TextBox::gotFocus, this, [this, &pair] { txtNN_GotFocus(pair); });
        connect(pair.txt, &TextBox::lostFocus, this, [this, &pair] { txtNN_LostFocus(pair); });
    }
}

void frmRumida::buildOddsBoard(QWidget *client)
{
    fraOdds = makeControlAs<QGroupBox>(client, OddsFrame);
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        const PairControls &names = PairTable[i];
        const double top = OddsRowTop + OddsRowStep * double(i);
        auto *caption = makeControlAs<QLabel>(
            fraOdds, {Kind::SizedLabel, names.oddsCaption, names.caption, OddsCaptionLeft, top});
        auto *odds = makeControlAs<QLabel>(fraOdds, {Kind::Label, names.odds, "", OddsLeft, top, OddsWidth, OddsHeight});
        Accessibility::tieCaption(caption, odds);
        pairs_[i].lbl = odds;
        if (names.rule)
            makeControl(fraOdds, {Kind::Line, names.rule, "", OddsCaptionLeft, top - OddsRuleAbove, OddsRuleWidth});
    }
}

void frmRumida::fitOddsBoard()
{
    // Room for the widest odds text, seven digits and a point.
    for (Pair &pair : pairs_) {
        const int widest = pair.lbl->fontMetrics().horizontalAdvance(QStringLiteral("10.88888")) + 2;
        pair.lbl->resize(std::max(pair.lbl->width(), widest), pair.lbl->height());
    }

    // Where the odds need more room than the layout gives, the frame grows to
    // the right as far as the button column allows, and what is still missing
    // comes off the odds labels' left margin.
    const int frameLimit = Twips::toPixels(ButtonLeft) - fraOdds->x() - FrameGap;
    const int oddsRight = pairs_[0].lbl->geometry().right() + FrameGap;
    fraOdds->resize(std::clamp(oddsRight, fraOdds->width(), frameLimit), fraOdds->height());
    const int overhang = oddsRight - fraOdds->width();
    if (overhang <= 0)
        return;
    // A caption keeps two spaces' width from its odds, so that "1-2" and
    // "4.457587" never read as "1-24.457587" (Windows' wider digits get
    // here): it moves left towards the frame's border first.
    const int frameInside = fraOdds->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, fraOdds) + 1;
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        QLabel *odds = pairs_[i].lbl;
        odds->move(odds->x() - overhang, odds->y());
        auto *caption = fraOdds->findChild<QLabel *>(QLatin1String(PairTable[i].oddsCaption));
        if (!caption)
            continue;
        const int gap = caption->fontMetrics().horizontalAdvance(QStringLiteral("  "));
        const int room = odds->x() - gap - caption->width();
        if (caption->x() > room)
            caption->move(std::max(frameInside, room), caption->y());
        if (caption->geometry().right() + gap >= odds->x())
            odds->move(caption->geometry().right() + gap + 1, odds->y());
    }
}

void frmRumida::buildResults(QWidget *client)
{
    cmdEndBet = makeControlAs<CommandButton>(client, EndBetButton);
    cmdNext = makeControlAs<CommandButton>(client, NextButton);
    cmdStart = makeControlAs<CommandButton>(client, StartButton);
    connect(cmdEndBet, &QPushButton::clicked, this, &frmRumida::cmdEndBet_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmRumida::cmdNext_Click);
    connect(cmdStart, &QPushButton::clicked, this, &frmRumida::cmdStart_Click);

    makeControl(client, ResultRule);
    auto *winnerCaption = makeControlAs<QLabel>(client, WinnerCaption);
    lblWinner = boxedLabel(client, WinnerBox, Qt::AlignCenter);
    Accessibility::tieCaption(winnerCaption, lblWinner);
    auto *payoutCaption = makeControlAs<QLabel>(client, PayoutCaption);
    lblHaitou = boxedLabel(client, PayoutBox, Qt::AlignCenter);
    Accessibility::tieCaption(payoutCaption, lblHaitou);
}

void frmRumida::buildMenus()
{
    auto addMenu = [this](const char *name, const QString &title) {
        QMenu *menu = menuBar()->addMenu(title);
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        return menu;
    };
    auto addItem = [this](QMenu *menu, const char *name, const QString &caption, auto handler) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto addSeparator = [](QMenu *menu, const char *name) {
        menu->addSeparator()->setObjectName(QLatin1String(name));
    };

    mnuFile = addMenu("mnuFile", QStringLiteral("ファイル"));
    addItem(mnuFile, "mnuStartOver", QStringLiteral("はじめから"), &frmRumida::mnuStartOver_Click);
    addSeparator(mnuFile, "mnubar3");
    addItem(mnuFile, "mnuEnd", QStringLiteral("終了"), &frmRumida::mnuEnd_Click);

    mnuOmake = addMenu("mnuOmake", QStringLiteral("おまけ"));
    addItem(mnuOmake, "mnuZelko", QStringLiteral("ゼルコ写真集"), &frmRumida::galleryRequested);

    mnuH = addMenu("mnuH", QStringLiteral("ヘルプ"));
    addItem(mnuH, "mnuHow", QStringLiteral("使い方"), &frmRumida::helpRequested);
    addSeparator(mnuH, "mnubar");
    addItem(mnuH, "mnuVer", QStringLiteral("バージョン情報"), &frmRumida::versionRequested);
}

void frmRumida::setTabOrder()
{
    // The window's tab order as the game defines it: the buttons bottom-up,
    // the check boxes in pair order, then the amount boxes with 1-3 last.
    const std::array<QWidget *, 15> order{
        cmdStart,        cmdNext,         cmdEndBet,       pairs_[0].chk, pairs_[1].chk,
        pairs_[2].chk,   pairs_[3].chk,   pairs_[4].chk,   pairs_[5].chk, pairs_[0].txt,
        pairs_[2].txt,   pairs_[3].txt,   pairs_[4].txt,   pairs_[5].txt, pairs_[1].txt};
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

// ---- Game state and its display ----

void frmRumida::Form_Load()
{
    cmdStart->setEnabled(false);
    cmdNext->setEnabled(false);
    drawOdds();
    purse_.startOver(); // a new game's money
    showMoney();
}

void frmRumida::drawOdds()
{
    purse_.drawOdds(services_.random);
    for (Pair &pair : pairs_)
        pair.lbl->setText(oddsText(purse_.odds(pair.code)));
}

void frmRumida::showMoney()
{
    lblCurrent->setText(currencyText(purse_.money()));
    if (finished_)
        fitMoneyBox();
}

void frmRumida::fitMoneyBox()
{
    // Money has no upper limit worth the name: the box grows to the right
    // (towards the odds board) to keep every digit in sight.
    const int needed = lblCurrent->sizeHint().width();
    if (needed > lblCurrent->width())
        lblCurrent->resize(needed, lblCurrent->height());
}

// ---- Closing ----

bool frmRumida::confirmQuit()
{
    if (ending_)
        return true;
    const auto answer = services_.messages.ask(
        this, QStringLiteral("ルミダを終了しますか？"), QStringLiteral("ルミダの終了"),
        MessageService::Buttons::OkCancel, MessageService::Icon::Question, 2);
    if (answer != MessageService::Answer::Ok)
        return false;

    ending_ = true;
    gate_.open();
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible())
            window->close();
    }
    hide();
    endProgram(0);
    return true;
}

void frmRumida::closeEvent(QCloseEvent *event)
{
    if (ending_) {
        event->accept();
        return;
    }
    // The window only closes through the confirmation, which closes every window itself.
    event->ignore();
    confirmQuit();
}

bool frmRumida::closeMainWindow()
{
    close();
    return ending_;
}

void frmRumida::mnuEnd_Click()
{
    closeMainWindow();
}

void frmRumida::mnuStartOver_Click()
{
    const auto answer = services_.messages.ask(
        this, QStringLiteral("初めからやり直しますか？"), QStringLiteral("やり直す？"),
        MessageService::Buttons::YesNo, MessageService::Icon::Question, 1);
    if (answer != MessageService::Answer::Yes)
        return;
    purse_.startOver();
    showMoney();
}

// ---- Betting ----

void frmRumida::chkNN_Click(Pair &pair)
{
    if (ending_)
        return;
    if (pair.chk->isChecked()) {
        pair.txt->setEnabled(true);
        pair.txt->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!pair.txt->text().isEmpty()) {
        purse_.handBack(pair.code);
        showMoney();
    }
    pair.txt->empty();
    pair.txt->setEnabled(false);
}

void frmRumida::txtNN_GotFocus(Pair &pair)
{
    if (ending_)
        return;
    if (!pair.txt->text().isEmpty()) {
        purse_.handBack(pair.code);
        pair.txt->empty();
    }
    showMoney();
}

void frmRumida::txtNN_LostFocus(Pair &pair)
{
    if (ending_)
        return;
    const QString text = pair.txt->text();
    if (!purse_.takeStake(pair.code, readLeadingNumber(text))) {
        // A stake must fit 32 bits: the amount is refused, nothing moves.
        pair.txt->empty();
        services_.beep.beep();
        return;
    }
    showMoney();
    if (const std::optional<double> number = convertNumber(text)) {
        pair.txt->setText(currencyText(*number));
        pair.txt->home(false); // the box shows the start of an amount too long for it
    }
}

void frmRumida::cmdEndBet_Click()
{
    if (ending_)
        return;
    for (Pair &pair : pairs_) {
        if (pair.txt->text().isEmpty())
            pair.chk->setChecked(false);
    }
    for (Pair &pair : pairs_)
        pair.chk->setEnabled(false);
    for (Pair &pair : pairs_)
        pair.txt->setEnabled(false);
    cmdNext->setEnabled(false);
    cmdStart->setEnabled(true);
    cmdStart->setFocus(Qt::OtherFocusReason);
    cmdEndBet->setEnabled(false);
}

// ---- The race ----

void frmRumida::Func_Race(std::int16_t &code)
{
    mnuFile->setEnabled(false);
    mnuH->setEnabled(false);
    cmdNext->setEnabled(false);
    cmdStart->setEnabled(false);

    {
        // The player is shut out of every window while the horses run; the
        // windows still repaint and the desktop is answered between frames.
        InputGate::Closed closed(gate_);
        HorsePictures horses{horses_};
        services_.pacer.start();
        rules::runRace(horses, services_.random, [this](long steps) {
            if (steps % StepsPerFrame == 0)
                services_.pacer.frame();
        });
        rules::nameWinningPair(horses, code);
    }

    mnuFile->setEnabled(true);
    mnuH->setEnabled(true);
    cmdNext->setEnabled(true);
    cmdNext->setFocus(Qt::OtherFocusReason);
}

void frmRumida::cmdStart_Click()
{
    if (ending_)
        return;
    std::int16_t code = rules::NoPair;
    Func_Race(code);

    if (code >= 1 && code <= rules::PairCount) {
        Pair &winner = pairOfCode(code);
        lblWinner->setText(winner.caption);
        if (winner.chk->isChecked()) {
            lblHaitou->setText(currencyText(purse_.payWinner(code)));
            showMoney();
        }
    }
    if (purse_.isRuined() && !ruinCheck())
        return;
    // Close requests made during the race are answered now that it is settled.
    gate_.deliverHeldCloses();
}

// Offers a ruined player a fresh start. Returns false when the program is ending.
bool frmRumida::ruinCheck()
{
    const auto answer = services_.messages.ask(
        this, QStringLiteral("初めからやり直しますか？"), QStringLiteral("破産！！"),
        MessageService::Buttons::YesNo, MessageService::Icon::Critical, 1);
    if (answer == MessageService::Answer::No)
        return !closeMainWindow();
    purse_.startOver();
    cmdNext->setFocus(Qt::OtherFocusReason);
    showMoney();
    return true;
}

void frmRumida::cmdNext_Click()
{
    if (ending_)
        return;
    if (purse_.isRuined() && !ruinCheck())
        return;
    drawOdds();
    for (Pair &pair : pairs_)
        pair.chk->setEnabled(true);
    for (Pair &pair : pairs_) {
        if (!pair.txt->text().isEmpty())
            purse_.loseStake(pair.code);
        pair.chk->setChecked(false);
    }
    for (Pair &pair : pairs_)
        pair.txt->empty();
    // Emptied with setText: a screen reader hears of it (clear() tells it nothing).
    lblWinner->setText(QString());
    lblHaitou->setText(QString());
    cmdEndBet->setEnabled(true);
    // The horses go back in the order aka, ki, cha, shiro.
    for (std::size_t horse : {0u, 2u, 1u, 3u})
        horses_[horse]->setLeft(rules::StartLeft);
    cmdNext->setEnabled(false);
}

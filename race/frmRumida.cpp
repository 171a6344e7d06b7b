#include "race/frmRumida.h"

#include "platform/Beep.h"
#include "platform/Buttons.h"
#include "platform/Fonts.h"
#include "platform/FramePacer.h"
#include "platform/GameLocale.h"
#include "platform/Labels.h"
#include "platform/Line.h"
#include "platform/MessageBox.h"
#include "platform/NumberText.h"
#include "platform/PictureBox.h"
#include "platform/Pictures.h"
#include "platform/Random.h"
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
#include <algorithm>

namespace {
constexpr double ClientWidth = 7425;
constexpr double ClientHeight = 6120;
constexpr std::int64_t StartingMoney = 10000;

void giveSingleBorder(QLabel *label)
{
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
}

// The course coordinates of the horse pictures, exposed to the race loop.
struct HorsePictures {
    std::array<PictureBox *, 4> &pictures;
    float left(int horse) const { return pictures[std::size_t(horse - 1)]->left(); }
    void setLeft(int horse, float value) { pictures[std::size_t(horse - 1)]->setLeft(value); }
};
} // namespace

frmRumida::frmRumida(GameServices services, QWidget *parent)
    : QMainWindow(parent), services_(services)
{
    setObjectName(QStringLiteral("frmRumida"));
    setWindowTitle(QStringLiteral("ルミダ　Ver1.01"));
    setWindowIcon(decodeIcon(Resources::Icon));
    focus_ = new WindowFocus(this); // the amount boxes' focus handlers follow it
    buildControls();
    buildMenus();
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

void frmRumida::buildControls()
{
    auto *client = new PictureBackground(decodePicture(Resources::Course), this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight));
    setCentralWidget(client);

    const char *horseNames[] = {"imgAka", "imgCha", "imgKi", "imgShiro"};
    const QString horsePictures[] = {Resources::HorseAka, Resources::HorseCha, Resources::HorseKi,
                                     Resources::HorseShiro};
    const char *laneNames[] = {"Label1", "Label2", "Label3", "Label4"};
    const QString laneCaptions[] = {QStringLiteral("１"), QStringLiteral("２"), QStringLiteral("３"),
                                    QStringLiteral("４")};
    for (std::size_t i = 0; i < 4; ++i) {
        const double top = 120 + 720 * double(i);
        // The lane number stands directly left of the stall: where the font's
        // digit is wider than the layout's, it grows to the left.
        QLabel *lane = autoSizeLabel(client, laneNames[i], laneCaptions[i], 6720, top);
        lane->move(std::min(lane->x(), Twips::toPixels(rules::StartLeft) - lane->width()), lane->y());
        auto *horse = new PictureBox(client);
        horse->setObjectName(QLatin1String(horseNames[i]));
        horse->setPicture(decodePicture(horsePictures[i]));
        horse->setTop(top);
        horse->setLeft(rules::StartLeft);
        horses_[i] = horse;
    }

    autoSizeLabel(client, "Label5", QStringLiteral("現在の所持金："), 120, 3240);
    lblCurrent = makeLabel(client, "lblCurrent", QString());
    lblCurrent->setFont(Fonts::japanese(9.75));
    lblCurrent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    giveSingleBorder(lblCurrent);
    placeControl(lblCurrent, 1320, 3200, 1575, 255);

    static const char *const captions[] = {"1-2", "1-3", "1-4", "2-3", "2-4", "3-4"};
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        Pair &pair = pairs_[i];
        pair.code = int(i) + 1;
        pair.caption = QLatin1String(captions[i]);
        const QString digits = QString(pair.caption).remove(QLatin1Char('-'));
        const double column = i < 3 ? 0 : 2400;
        const double top = 3720 + 600 * double(i % 3);

        pair.chk = new QCheckBox(pair.caption, client);
        pair.chk->setObjectName(QStringLiteral("chk") + digits);
        placeControl(pair.chk, 240 + column, top, 615, 180);

        pair.txt = new TextBox(client);
        pair.txt->setObjectName(QStringLiteral("txt") + digits);
        pair.txt->setAttribute(Qt::WA_InputMethodEnabled, false); // input method off
        pair.txt->setEnabled(false);
        placeControl(pair.txt, 960 + column, top, 1215, 270);

        connect(pair.chk, &QCheckBox::toggled, this, [this, &pair] { chkNN_Click(pair); });
        connect(pair.txt, &TextBox::gotFocus, this, [this, &pair] { txtNN_GotFocus(pair); });
        connect(pair.txt, &TextBox::lostFocus, this, [this, &pair] { txtNN_LostFocus(pair); });
    }

    fraOdds = new QGroupBox(QStringLiteral("オッズ"), client);
    fraOdds->setObjectName(QStringLiteral("fraOdds"));
    fraOdds->setGeometry(Twips::rect(4680, 3120, 1335, 2295));
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        const double top = 240 + 360 * double(i);
        autoSizeLabel(fraOdds, qPrintable(QStringLiteral("Label%1").arg(6 + i)), pairs_[i].caption,
                      120, top);
        const QString name = QStringLiteral("lbl") + QString(pairs_[i].caption).remove(QLatin1Char('-'));
        QLabel *odds = makeLabel(fraOdds, qPrintable(name), QString());
        placeControl(odds, 600, top, 585, 180);
        // Room for the widest odds text, seven digits and a point.
        const int widest = odds->fontMetrics().horizontalAdvance(QStringLiteral("10.88888")) + 2;
        odds->resize(std::max(odds->width(), widest), odds->height());
        pairs_[i].lbl = odds;
        if (i > 0) {
            auto *rule = new LineControl(fraOdds, 120, 1200, 120 + 360 * double(i));
            rule->setObjectName(QStringLiteral("Line%1").arg(1 + i));
        }
    }

    // Where the odds need more room than the layout gives, the frame grows to
    // the right as far as the button column allows (a 3-pixel gap), and what is
    // still missing comes off the odds labels' left margin.
    const int frameLimit = Twips::toPixels(6120) - fraOdds->x() - 3;
    const int oddsRight = pairs_[0].lbl->geometry().right() + 3;
    fraOdds->resize(std::clamp(oddsRight, fraOdds->width(), frameLimit), fraOdds->height());
    const int overhang = oddsRight - fraOdds->width();
    if (overhang > 0) {
        for (Pair &pair : pairs_)
            pair.lbl->move(pair.lbl->x() - overhang, pair.lbl->y());
    }

    cmdEndBet = new CommandButton(QStringLiteral("賭け終了"), client);
    cmdEndBet->setObjectName(QStringLiteral("cmdEndBet"));
    placeControl(cmdEndBet, 6120, 3240, 1215, 495);
    cmdNext = new CommandButton(QStringLiteral("次のレース"), client);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    placeControl(cmdNext, 6120, 3840, 1215, 495);
    cmdStart = new CommandButton(QStringLiteral("レース開始"), client);
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    placeControl(cmdStart, 6120, 4440, 1215, 495);
    connect(cmdEndBet, &QPushButton::clicked, this, &frmRumida::cmdEndBet_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmRumida::cmdNext_Click);
    connect(cmdStart, &QPushButton::clicked, this, &frmRumida::cmdStart_Click);

    auto *line1 = new LineControl(client, 120, 4560, 5400);
    line1->setObjectName(QStringLiteral("Line1"));

    const QFont resultFont = Fonts::japanese(14.25);
    QLabel *label13 = makeLabel(client, "Label13", QStringLiteral("結果："));
    label13->setFont(resultFont);
    // 855 wide would run 15 twips under lblWinner; the caption ends where it begins.
    placeControl(label13, 240, 5640, 840, 375);
    lblWinner = makeLabel(client, "lblWinner", QString());
    lblWinner->setFont(resultFont);
    lblWinner->setAlignment(Qt::AlignCenter);
    giveSingleBorder(lblWinner);
    placeControl(lblWinner, 1080, 5640, 1095, 375);
    QLabel *label12 = makeLabel(client, "Label12", QStringLiteral("配当："));
    label12->setFont(resultFont);
    label12->adjustSize();
    label12->move(Twips::toPixels(2520), Twips::toPixels(5640));
    lblHaitou = makeLabel(client, "lblHaitou", QString());
    lblHaitou->setFont(resultFont);
    lblHaitou->setAlignment(Qt::AlignCenter);
    giveSingleBorder(lblHaitou);
    placeControl(lblHaitou, 3240, 5640, 2775, 375);
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
    money_ = StartingMoney;
    showMoney();
}

void frmRumida::drawOdds()
{
    services_.random.reseedFromClock();
    for (Pair &pair : pairs_)
        pair.odds = rules::oddsFromRandom(services_.random.next());
    for (Pair &pair : pairs_)
        pair.lbl->setText(oddsText(pair.odds));
}

void frmRumida::showMoney()
{
    lblCurrent->setText(currencyText(money_));
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
    QCoreApplication::exit(0);
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
    money_ = StartingMoney;
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
        money_ += pair.bet;
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
        money_ += pair.bet;
        pair.txt->empty();
    }
    showMoney();
}

void frmRumida::txtNN_LostFocus(Pair &pair)
{
    if (ending_)
        return;
    const QString text = pair.txt->text();
    const double amount = readLeadingNumber(text);
    const std::optional<std::int32_t> stake = rules::stakeFromAmount(amount);
    if (!stake) {
        // A stake must fit 32 bits: the amount is refused, nothing moves.
        pair.bet = 0;
        pair.txt->empty();
        services_.beep.beep();
        return;
    }
    pair.bet = *stake;
    money_ = rules::moneyAfterStake(money_, amount);
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

    if (code >= 1 && code <= 6) {
        Pair &winner = pairOfCode(code);
        lblWinner->setText(winner.caption);
        if (winner.chk->isChecked()) {
            const std::int64_t paid = rules::payout(winner.odds, winner.bet);
            lblHaitou->setText(currencyText(paid));
            money_ += paid;
            showMoney();
        }
    }
    if (money_ < 1 && !ruinCheck())
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
    money_ = StartingMoney;
    cmdNext->setFocus(Qt::OtherFocusReason);
    showMoney();
    return true;
}

void frmRumida::cmdNext_Click()
{
    if (ending_)
        return;
    if (money_ <= 0 && !ruinCheck())
        return;
    drawOdds();
    for (Pair &pair : pairs_)
        pair.chk->setEnabled(true);
    for (Pair &pair : pairs_) {
        if (!pair.txt->text().isEmpty())
            money_ -= pair.bet;
        pair.chk->setChecked(false);
    }
    for (Pair &pair : pairs_)
        pair.txt->empty();
    lblWinner->clear();
    lblHaitou->clear();
    cmdEndBet->setEnabled(true);
    // The horses go back in the order aka, ki, cha, shiro.
    for (std::size_t horse : {0u, 2u, 1u, 3u})
        horses_[horse]->setLeft(rules::StartLeft);
    cmdNext->setEnabled(false);
}

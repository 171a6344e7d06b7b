// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "windows/frmCopy.h"

#include "platform/ControlTable.h"
#include "platform/PictureBox.h"
#include "platform/Pictures.h"
#include "platform/Twips.h"
#include "platform/WindowStyle.h"
#include "resources/Resources.h"
#include "windows/Program.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>
#include <future>

namespace {
constexpr double ClientWidth = 5055;
constexpr double ClientHeight = 4170;

using Kind = ControlSpec::Kind;
constexpr double CreditFont = 12;
constexpr double VersionFont = 15.75;
constexpr double TitleFont = 36;
const QColor Red(255, 0, 0);
const QColor Yellow(255, 255, 0);

// The card's captions, with the height the layout gives each and its colour
// (none: the window's text colour). The credits are the game's own; the
// addresses and names are invented.
struct Credit {
    ControlSpec spec;
    double height;
    const QColor *colour;
};
const Credit Credits[] = {
    {{Kind::SizedLabel, "Label6", "Ｚｅｌｋｏ", 3840, 3120}, 180, nullptr},
    {{Kind::SizedLabel, "Label5", "ゼルコ・ファンクラブ", 1200, 3840, 0, 0, CreditFont}, 240, &Yellow},
    {{Kind::SizedLabel, "Label4", "作：ルミダ工房", 2760, 3480, 0, 0, CreditFont}, 240, &Red},
    {{Kind::SizedLabel, "Label3", "© 1999 ルミダ", 960, 3480, 0, 0, CreditFont}, 240, &Red},
    {{Kind::SizedLabel, "Label2", "Ｖｅｒｓｉｏｎ　１．０１", 1680, 840, 0, 0, VersionFont}, 315, &Red},
    {{Kind::SizedLabel, "Label1", "ルミダ", 120, 120, 0, 0, TitleFont}, 720, &Red},
};
// The rule between the title and the credits, four pixels thick.
constexpr ControlSpec Rule{Kind::Line, "Line1", "", 120, 3360, 4800, 60};

// A caption of the card, transparent over the photograph. The fallback
// Japanese fonts have a deeper descent than the desktop's (a 36 pt line is 51
// pixels, not 48); where the letters themselves fit the height the layout
// gives, the label keeps that height, aligned to its top, rather than reach
// into the label below.
void makeCredit(QWidget *parent, const Credit &credit)
{
    auto *label = makeControlAs<QLabel>(parent, credit.spec);
    if (credit.colour) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, *credit.colour);
        label->setPalette(palette);
    }
    const QFontMetrics metrics(label->font());
    const int inkBottom = metrics.ascent() + metrics.tightBoundingRect(label->text()).bottom() + 1;
    const int givenHeight = Twips::toPixels(credit.height);
    if (label->height() > givenHeight && inkBottom <= givenHeight) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->resize(label->width(), givenHeight);
    }
}
} // namespace

frmCopy::frmCopy(Program &program, std::chrono::milliseconds showTime) : program_(program)
{
    setObjectName(QStringLiteral("frmCopy"));
    // The caption is drawn nowhere inside the card; it names the taskbar entry.
    setWindowTitle(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    // A precise timer: a coarse one may tick up to 5% early.
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(showTime);
    connect(Timer1, &QTimer::timeout, this, &frmCopy::Timer1_Timer);
    Timer1->start();

    // The photograph is decoded on a second thread while the captions are
    // measured (each of their sizes loads a font engine) and the main window
    // is built: the card shows sooner on a machine with a core to spare.
    std::future<QImage> photograph = readPhotographSoon(Resources::Splash);
    buildControls();
    applyWindowStyle(this, {BorderStyle::None, true,
                            QSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight))});
    Form_Load();
    client_->setPicture(photographPixmap(photograph.get()));
}

frmCopy::~frmCopy() = default;

void frmCopy::buildControls()
{
    // The photograph (337 x 279: its last row lies below the client area)
    // comes when its decoding is done, at the end of the constructor.
    auto *client = new PictureBackground(QPixmap(), this, PictureBox::Scaling::Photograph);
    client->setObjectName(QStringLiteral("client"));
    client->setGeometry(0, 0, Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight));
    // The card covers the whole window: its first paint is the splash's.
    client->installEventFilter(this);
    client_ = client;

    for (const Credit &credit : Credits)
        makeCredit(client, credit);
    makeControl(client, Rule);
}

void frmCopy::Form_Load()
{
    // The main window's own load step runs as it is built: odds and money
    // are set up while it stays hidden.
    program_.mainWindow();
}

bool frmCopy::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == client_ && event->type() == QEvent::Paint) {
        client_->removeEventFilter(this);
        // Once this paint is on screen, the main window is finished while the
        // card stays up (a zero timer runs after the repaint is flushed).
        QTimer::singleShot(0, this, &frmCopy::finishMainWindow);
    }
    return QWidget::eventFilter(watched, event);
}

void frmCopy::finishMainWindow()
{
    if (frmRumida *main = program_.builtMainWindow())
        main->finishBuilding();
}

void frmCopy::showMainWindow()
{
    if (handedOver_)
        return;
    handedOver_ = true;
    Timer1->stop();
    frmRumida &main = program_.mainWindow();
    main.show();
    main.activateWindow();
}

void frmCopy::Timer1_Timer()
{
    showMainWindow();
    close(); // destroys the splash, its controls and its timer
}

void frmCopy::closeEvent(QCloseEvent *event)
{
    // Closed before its tick (Alt+F4, the taskbar): the player is not left
    // with a hidden main window; it is shown at once.
    showMainWindow();
    event->accept();
}

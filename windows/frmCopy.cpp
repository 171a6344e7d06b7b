#include "windows/frmCopy.h"

#include "platform/Fonts.h"
#include "platform/Line.h"
#include "platform/PictureBox.h"
#include "platform/Pictures.h"
#include "platform/Twips.h"
#include "platform/WindowStyle.h"
#include "resources/Resources.h"
#include "windows/Game.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

namespace {
constexpr double ClientWidth = 5055;
constexpr double ClientHeight = 4170;

// A transparent label that sizes itself to its text, at a position in twips.
// The fallback Japanese fonts have a deeper descent than the desktop's (a
// 36 pt line is 51 pixels, not 48); where the letters themselves fit the
// height the layout gives, the label keeps that height, aligned to its top,
// rather than reach into the label below.
QLabel *creditLabel(QWidget *parent, const char *name, const QString &text, double left,
                    double top, double height, const QFont *font, const QColor *colour)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    if (font)
        label->setFont(*font);
    if (colour) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, *colour);
        label->setPalette(palette);
    }
    label->adjustSize();
    const QFontMetrics metrics(label->font());
    const int inkBottom = metrics.ascent() + metrics.tightBoundingRect(text).bottom() + 1;
    const int givenHeight = Twips::toPixels(height);
    if (label->height() > givenHeight && inkBottom <= givenHeight) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->resize(label->width(), givenHeight);
    }
    label->move(Twips::toPixels(left), Twips::toPixels(top));
    return label;
}
} // namespace

frmCopy::frmCopy(Game &game, std::chrono::milliseconds showTime) : game_(game)
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

    buildControls();
    applyWindowStyle(this, {BorderStyle::None, true,
                            QSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight))});
    Form_Load();
}

frmCopy::~frmCopy() = default;

void frmCopy::buildControls()
{
    // The photograph is 337 x 279: its last row lies below the client area.
    auto *client = new PictureBackground(decodePicture(Resources::Splash), this,
                                         PictureBox::Scaling::Photograph);
    client->setObjectName(QStringLiteral("client"));
    client->setGeometry(0, 0, Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight));

    const QColor red(255, 0, 0);
    const QColor yellow(255, 255, 0);
    const QFont credit = Fonts::japanese(12);
    const QFont version = Fonts::japanese(15.75);
    const QFont title = Fonts::japanese(36);

    // The credits are the game's own; the addresses and names are invented.
    creditLabel(client, "Label6", QStringLiteral("Ｚｅｌｋｏ"), 3840, 3120, 180, nullptr, nullptr);
    creditLabel(client, "Label5", QStringLiteral("ゼルコ・ファンクラブ"), 1200, 3840, 240, &credit,
                &yellow);
    creditLabel(client, "Label4", QStringLiteral("作：ルミダ工房"), 2760, 3480, 240, &credit, &red);
    creditLabel(client, "Label3", QStringLiteral("© 1999 ルミダ"), 960, 3480, 240, &credit, &red);
    auto *line1 = new LineControl(client, 120, 4920, 3360, 4);
    line1->setObjectName(QStringLiteral("Line1"));
    creditLabel(client, "Label2", QStringLiteral("Ｖｅｒｓｉｏｎ　１．０１"), 1680, 840, 315, &version,
                &red);
    creditLabel(client, "Label1", QStringLiteral("ルミダ"), 120, 120, 720, &title, &red);
}

void frmCopy::Form_Load()
{
    // The main window's own load step runs as it is built: odds and money
    // are set up while it stays hidden.
    game_.mainWindow = std::make_unique<frmRumida>(game_.services);
    frmRumida *main = game_.mainWindow.get();
    SideWindows *side = &game_.sideWindows;
    connect(main, &frmRumida::galleryRequested, side, &SideWindows::openGallery);
    connect(main, &frmRumida::helpRequested, side, &SideWindows::openHelp);
    connect(main, &frmRumida::versionRequested, side, &SideWindows::openVersion);
}

void frmCopy::showMainWindow()
{
    if (handedOver_)
        return;
    handedOver_ = true;
    Timer1->stop();
    frmRumida *main = game_.mainWindow.get();
    main->show();
    main->activateWindow();
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

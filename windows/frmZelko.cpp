#include "windows/frmZelko.h"

#include "platform/Buttons.h"
#include "platform/Fonts.h"
#include "platform/PictureBox.h"
#include "platform/Pictures.h"
#include "platform/Twips.h"
#include "platform/WindowStyle.h"
#include "resources/Resources.h"

#include <QLabel>

namespace {
constexpr double ClientWidth = 5085;
constexpr double ClientHeight = 5160;

// The ring of photographs: what ">" and "<" show from photograph 1 .. 8.
constexpr std::array<std::int16_t, 8> NextOf{2, 3, 4, 5, 6, 7, 8, 1};
constexpr std::array<std::int16_t, 8> BackOf{8, 1, 2, 3, 4, 5, 6, 7};

bool isPhotograph(int number)
{
    return number >= 1 && number <= 8;
}

CommandButton *makeButton(QWidget *parent, const char *name, const QString &caption,
                          double left, const QFont *font)
{
    auto *button = new CommandButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    if (font)
        button->setFont(*font);
    placeControl(button, left, 4560, 1215, 495);
    return button;
}
} // namespace

frmZelko::frmZelko(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmZelko"));
    setWindowTitle(QStringLiteral("ゼルコ写真集"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    applyWindowStyle(this, {BorderStyle::FixedSingle, true,
                            QSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight))});
    Form_Load();
    cmdNextPic->setFocus(Qt::OtherFocusReason);
}

frmZelko::~frmZelko() = default;

void frmZelko::buildControls()
{
    Command1 = makeButton(this, "Command1", QStringLiteral("戻る"), 3720, nullptr);
    const QFont arrows = Fonts::japanese(18, true);
    cmdBackPic = makeButton(this, "cmdBackPic", QStringLiteral("<"), 120, &arrows);
    cmdNextPic = makeButton(this, "cmdNextPic", QStringLiteral(">"), 1440, &arrows);
    connect(Command1, &QPushButton::clicked, this, &frmZelko::Command1_Click);
    connect(cmdBackPic, &QPushButton::clicked, this, &frmZelko::cmdBackPic_Click);
    connect(cmdNextPic, &QPushButton::clicked, this, &frmZelko::cmdNextPic_Click);
    QWidget::setTabOrder(cmdNextPic, cmdBackPic);
    QWidget::setTabOrder(cmdBackPic, Command1);

    auto *label1 = new QLabel(
        QStringLiteral("これらの写真は、作者がケンタッキー州のＴａｙｌｏｒＭａｉｄＦａｒｍで撮影した物です。"),
        this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setFont(Fonts::japanese(12));
    label1->setWordWrap(true);
    label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeControl(label1, 840, 3840, 4215, 615);

    lblNumber = new QLabel(this);
    lblNumber->setObjectName(QStringLiteral("lblNumber"));
    lblNumber->setFont(Fonts::japanese(18));
    lblNumber->setAlignment(Qt::AlignCenter);
    lblNumber->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblNumber->setLineWidth(2);
    lblNumber->setGeometry(Twips::rect(120, 3840, 615, 495));

    // The holders never show; they only keep the decoded photographs.
    for (int n = 8; n >= 1; --n) {
        auto *holder = new PictureBox(this, PictureBox::Scaling::Photograph);
        holder->setObjectName(QStringLiteral("Image%1").arg(n));
        holder->setPicture(decodePicture(Resources::zelko(n)));
        holder->hide();
        holders_[std::size_t(n - 1)] = holder;
    }

    imgDefault = new PictureBox(this, PictureBox::Scaling::Photograph);
    imgDefault->setObjectName(QStringLiteral("imgDefault"));
    imgDefault->move(Twips::toPixels(120), Twips::toPixels(120));
}

void frmZelko::Form_Load()
{
    showPhotograph(1);
    picNumber_ = 1;
    lblNumber->setText(QString::number(picNumber_));
}

// The display takes the holder's very picture: shared, not decoded again.
void frmZelko::showPhotograph(int number)
{
    imgDefault->setPicture(holders_[std::size_t(number - 1)]->picture());
}

void frmZelko::cmdNextPic_Click()
{
    if (isPhotograph(picNumber_)) {
        picNumber_ = NextOf[std::size_t(picNumber_ - 1)];
        showPhotograph(picNumber_);
    }
    lblNumber->setText(QString::number(picNumber_));
}

void frmZelko::cmdBackPic_Click()
{
    if (isPhotograph(picNumber_)) {
        picNumber_ = BackOf[std::size_t(picNumber_ - 1)];
        showPhotograph(picNumber_);
    }
    lblNumber->setText(QString::number(picNumber_));
}

void frmZelko::Command1_Click()
{
    close();
}

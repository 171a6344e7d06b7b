// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "windows/frmZelko.h"

#include "platform/CommandButton.h"
#include "platform/ControlTable.h"
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

using Kind = ControlSpec::Kind;
constexpr double ButtonTop = 4560;
constexpr double ButtonWidth = 1215;
constexpr double ButtonHeight = 495;
constexpr double ArrowFont = 18;
constexpr double PictureMargin = 120;
constexpr ControlSpec BackButton{Kind::Button, "Command1", "戻る", 3720, ButtonTop, ButtonWidth, ButtonHeight};
// The arrows' captions say nothing to a screen reader: their names say where they go.
constexpr ControlSpec PreviousButton{Kind::Button, "cmdBackPic", "<", 120, ButtonTop, ButtonWidth, ButtonHeight,
                                     ArrowFont, true, "前の写真"};
constexpr ControlSpec NextButton{Kind::Button, "cmdNextPic", ">", 1440, ButtonTop, ButtonWidth, ButtonHeight,
                                 ArrowFont, true, "次の写真"};
constexpr ControlSpec Caption{Kind::WrappedLabel, "Label1",
                              "これらの写真は、作者がケンタッキー州のＴａｙｌｏｒＭａｉｄＦａｒｍで撮影した物です。",
                              840, 3840, 4215, 615, 12};
constexpr ControlSpec NumberBox{Kind::Label, "lblNumber", "", 120, 3840, 615, 495, ArrowFont};
constexpr const char *PhotographAccessibleName = "ゼルコの写真";
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
    Command1 = makeControlAs<CommandButton>(this, BackButton);
    cmdBackPic = makeControlAs<CommandButton>(this, PreviousButton);
    cmdNextPic = makeControlAs<CommandButton>(this, NextButton);
    connect(Command1, &QPushButton::clicked, this, &frmZelko::Command1_Click);
    connect(cmdBackPic, &QPushButton::clicked, this, &frmZelko::cmdBackPic_Click);
    connect(cmdNextPic, &QPushButton::clicked, this, &frmZelko::cmdNextPic_Click);
    // The window's tab order: ">", "<", then 戻る.
    QWidget::setTabOrder(cmdNextPic, cmdBackPic);
    QWidget::setTabOrder(cmdBackPic, Command1);

    makeControl(this, Caption);
    lblNumber = makeControlAs<QLabel>(this, NumberBox);
    lblNumber->setAlignment(Qt::AlignCenter);
    lblNumber->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblNumber->setLineWidth(2);
    lblNumber->setGeometry(Twips::rect(NumberBox.left, NumberBox.top, NumberBox.width, NumberBox.height));

    // The holders never show; they only keep the decoded photographs.
    for (int n = int(holders_.size()); n >= 1; --n) {
        auto *holder = new PictureBox(this, PictureBox::Scaling::Photograph);
        holder->setObjectName(QStringLiteral("Image%1").arg(n));
        holder->setPicture(decodePhotograph(Resources::zelko(n)));
        holder->hide();
        holders_[std::size_t(n - 1)] = holder;
    }

    imgDefault = new PictureBox(this, PictureBox::Scaling::Photograph);
    imgDefault->setObjectName(QStringLiteral("imgDefault"));
    imgDefault->setAccessibleName(QString::fromUtf8(PhotographAccessibleName));
    imgDefault->move(Twips::toPixels(PictureMargin), Twips::toPixels(PictureMargin));
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

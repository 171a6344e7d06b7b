// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "windows/frmVersion.h"

#include "platform/CommandButton.h"
#include "platform/ControlTable.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "platform/WindowStyle.h"

#include <QLabel>
#include <QPainter>

namespace {
// The graphical button: a flat face in its own colour with a raised edge that
// sinks while pressed, and a dotted rectangle inside the edge while it has the
// focus. A style sheet draws the face so under every style.
class GraphicalButton final : public CommandButton {
public:
    GraphicalButton(const QString &caption, const QColor &face, QWidget *parent)
        : CommandButton(caption, parent)
    {
        // No outline: the style's own focus mark would tint the face.
        setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 2px outset %2;"
                                     " outline: none; }"
                                     "QPushButton:pressed { border-style: inset; }")
                          .arg(face.name(), face.darker(160).name()));
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        CommandButton::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        painter.setPen(QPen(palette().buttonText().color(), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(4, 4, -5, -5));
    }
};

constexpr double ClientWidth = 4335;
constexpr double ClientHeight = 3135;
constexpr double RuleLeft = 120;
constexpr double RuleWidth = 4080;

using Kind = ControlSpec::Kind;
constexpr ControlSpec BackButton{Kind::Button, "Command1", "戻る", 3480, 2640, 735, 375};
// The credits are the game's own; the addresses and names are invented.
constexpr ControlSpec Labels[] = {
    {Kind::SizedLabel, "Label6", "ゼルコ・ファンクラブ", 360, 2640},
    {Kind::SizedLabel, "Label5", "http://www.rumida.example/", 360, 2880},
    {Kind::WrappedLabel, "Label4",
     "本ソフトへのご質問・苦情・サポートのご依頼は support@rumida.example までお送りください。", 480, 1800, 3375,
     615},
    {Kind::SizedLabel, "Label3", "Copyright © 1999 ルミダ工房", 720, 1320},
    {Kind::SizedLabel, "Label2", "Ｖｅｒｓｉｏｎ　１．０１", 1560, 960},
    {Kind::SizedLabel, "Label1", "ルミダ", 720, 360, 0, 0, 27.75},
};
constexpr ControlSpec Rules[] = {
    {Kind::Line, "Line2", "", RuleLeft, 2520, RuleWidth},
    {Kind::Line, "Line1", "", RuleLeft, 1680, RuleWidth},
};
} // namespace


frmVersion::frmVersion(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmVersion"));
    setWindowTitle(QStringLiteral("ルミダ　バージョン情報"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *command1 = new GraphicalButton(QString::fromUtf8(BackButton.caption), QColor(0, 255, 255), this);
    setUpControl(command1, BackButton);
    connect(command1, &QPushButton::clicked, this, &frmVersion::Command1_Click);

    // The version window's labels are opaque, in the window's colour.
    for (const ControlSpec &label : Labels)
        makeControl(this, label)->setAutoFillBackground(true);
    for (const ControlSpec &rule : Rules)
        makeControl(this, rule);

    applyWindowStyle(this, {BorderStyle::FixedToolWindow, false,
                            QSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight))});
    command1->setFocus(Qt::OtherFocusReason);
}

frmVersion::~frmVersion() = default;

void frmVersion::Command1_Click()
{
    close();
}

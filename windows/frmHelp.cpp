// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "windows/frmHelp.h"

#include "platform/CommandButton.h"
#include "platform/ControlTable.h"
#include "platform/Twips.h"
#include "platform/WindowStyle.h"

#include <QPlainTextEdit>
#include <QStringList>

namespace {
using Kind = ControlSpec::Kind;
constexpr double ClientWidth = 6480;
constexpr double ClientHeight = 3735;
constexpr double Margin = 120;
constexpr double ContentWidth = 6255;
constexpr ControlSpec BackButton{Kind::Button, "Command1", "戻る", Margin, 3120, ContentWidth, 495};
constexpr ControlSpec HelpText{Kind::TextArea, "Text1", "", Margin, Margin, ContentWidth, 2895, 0, false, "使い方の説明"};
} // namespace

QString frmHelp::helpText()
{
    // The blank-looking lines hold ideographic spaces; the mid-sentence breaks
    // are part of the text.
    static const QStringList lines{
        QStringLiteral("使い方は簡単です。"),
        QString(16, QChar(0x3000)),
        QStringLiteral("賭けたい馬番連勝の場所をチェックします。そして、左のテキストボックスにかけた"),
        QStringLiteral("い金額を数字だけで入れます。"),
        QString(1, QChar(0x3000)),
        QStringLiteral("賭けたい場所全てに賭けたら、次は「賭け終了」のボタンを押し、「レース開始」を押"),
        QStringLiteral("しますと、レースがスタートします。"),
        QString(1, QChar(0x3000)),
        QStringLiteral("レース終了後、配当金が下に表示されます。そして、「次のレース」に進みます。"),
        QString(1, QChar(0x3000)),
        QStringLiteral("賭ける時点で、お金はマイナスになっても大丈夫ですが、レース終了時点でお金"),
        QStringLiteral("がマイナスの場合は、ゲームオーバーとなりますので注意してください。"),
        QString(1, QChar(0x3000)),
        QStringLiteral("おまけのゼルコ写真集は、僕が去年（１９９８）の夏に撮った物です。横にいてる小さい馬はゼルコの初の子供です。"),
    };
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

frmHelp::frmHelp(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("ルミダ　使い方"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *command1 = makeControlAs<CommandButton>(this, BackButton);
    connect(command1, &QPushButton::clicked, this, &frmHelp::Command1_Click);

    Text1 = makeControlAs<QPlainTextEdit>(this, HelpText);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab moves on to the button, as in a multi-line text box of the desktop.
    Text1->setTabChangesFocus(true);
    Text1->setPlainText(helpText());
    QWidget::setTabOrder(Text1, command1); // the text, then the button


    applyWindowStyle(this, {BorderStyle::FixedDialog, false,
                            QSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight))});
    Text1->setFocus(Qt::OtherFocusReason);
}

frmHelp::~frmHelp() = default;

void frmHelp::Command1_Click()
{
    close();
}

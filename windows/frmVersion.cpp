#include "windows/frmVersion.h"

#include "platform/Buttons.h"
#include "platform/Fonts.h"
#include "platform/Labels.h"
#include "platform/Line.h"
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

// The version window's labels are opaque, in the window's colour.
QLabel *opaque(QLabel *label)
{
    label->setAutoFillBackground(true);
    return label;
}
} // namespace


frmVersion::frmVersion(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmVersion"));
    setWindowTitle(QStringLiteral("ルミダ　バージョン情報"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *command1 = new GraphicalButton(QStringLiteral("戻る"), QColor(0, 255, 255), this);
    command1->setObjectName(QStringLiteral("Command1"));
    placeControl(command1, 3480, 2640, 735, 375);
    connect(command1, &QPushButton::clicked, this, &frmVersion::Command1_Click);

    // The credits are the game's own; the addresses and names are invented.
    opaque(autoSizeLabel(this, "Label6", QStringLiteral("ゼルコ・ファンクラブ"), 360, 2640));
    opaque(autoSizeLabel(this, "Label5", QStringLiteral("http://www.rumida.example/"), 360, 2880));
    auto *line2 = new LineControl(this, 120, 4200, 2520);
    line2->setObjectName(QStringLiteral("Line2"));
    QLabel *label4 = opaque(makeLabel(
        this, "Label4",
        QStringLiteral("本ソフトへのご質問・苦情・サポートのご依頼は support@rumida.example までお送りください。")));
    label4->setWordWrap(true);
    label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeControl(label4, 480, 1800, 3375, 615);
    opaque(autoSizeLabel(this, "Label3", QStringLiteral("Copyright © 1999 ルミダ工房"), 720, 1320));
    auto *line1 = new LineControl(this, 120, 4200, 1680);
    line1->setObjectName(QStringLiteral("Line1"));
    opaque(autoSizeLabel(this, "Label2", QStringLiteral("Ｖｅｒｓｉｏｎ　１．０１"), 1560, 960));
    QLabel *label1 = opaque(makeLabel(this, "Label1", QStringLiteral("ルミダ")));
    label1->setFont(Fonts::japanese(27.75));
    label1->adjustSize();
    label1->move(Twips::toPixels(720), Twips::toPixels(360));

    applyWindowStyle(this, {BorderStyle::FixedToolWindow, false,
                            QSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight))});
    command1->setFocus(Qt::OtherFocusReason);
}

frmVersion::~frmVersion() = default;

void frmVersion::Command1_Click()
{
    close();
}

#include "windows/frmVersion.h"

#include "platform/Buttons.h"
#include "platform/Fonts.h"
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

// A label with an opaque background in the window's colour.
QLabel *makeLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAutoFillBackground(true);
    return label;
}

// An opaque label that sizes itself to its text, at a position in twips.
QLabel *autoSizeLabel(QWidget *parent, const char *name, const QString &text, double left,
                      double top)
{
    QLabel *label = makeLabel(parent, name, text);
    label->adjustSize();
    label->move(Twips::toPixels(left), Twips::toPixels(top));
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
    autoSizeLabel(this, "Label6", QStringLiteral("ゼルコ・ファンクラブ"), 360, 2640);
    autoSizeLabel(this, "Label5", QStringLiteral("http://www.rumida.example/"), 360, 2880);
    auto *line2 = new LineControl(this, 120, 4200, 2520);
    line2->setObjectName(QStringLiteral("Line2"));
    QLabel *label4 = makeLabel(
        this, "Label4",
        QStringLiteral("本ソフトへのご質問・苦情・サポートのご依頼は support@rumida.example までお送りください。"));
    label4->setWordWrap(true);
    label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeControl(label4, 480, 1800, 3375, 615);
    autoSizeLabel(this, "Label3", QStringLiteral("Copyright © 1999 ルミダ工房"), 720, 1320);
    auto *line1 = new LineControl(this, 120, 4200, 1680);
    line1->setObjectName(QStringLiteral("Line1"));
    autoSizeLabel(this, "Label2", QStringLiteral("Ｖｅｒｓｉｏｎ　１．０１"), 1560, 960);
    QLabel *label1 = makeLabel(this, "Label1", QStringLiteral("ルミダ"));
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

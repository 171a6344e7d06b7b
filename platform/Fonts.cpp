#include "platform/Fonts.h"

#include <QApplication>
#include <QStringList>

namespace {
const QStringList &japaneseFamilies()
{
    static const QStringList families{
        QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
        QStringLiteral("IPAPGothic"),   QStringLiteral("Noto Sans CJK JP"),
        QStringLiteral("IPAGothic")};
    return families;
}
} // namespace

QFont Fonts::japanese(double pointSize, bool bold)
{
    QFont font;
    font.setFamilies(japaneseFamilies());
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont Fonts::windowDefault()
{
    return japanese(9.0);
}

void Fonts::install()
{
    QApplication::setFont(windowDefault());
}

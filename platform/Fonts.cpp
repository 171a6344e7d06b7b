// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#include "platform/Fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

namespace {
// The first of the preferred families that is installed, looked up once: a
// font naming families that are not installed makes Qt ask fontconfig about
// each missing name (a match against every installed font) before it reaches
// one that is, which slows the start by a tenth.
const QStringList &japaneseFamilies()
{
    static const QStringList families = [] {
        const QStringList preferred{
            QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
            QStringLiteral("IPAPGothic"),   QStringLiteral("Noto Sans CJK JP"),
            QStringLiteral("IPAGothic"),    QStringLiteral("Rumida Gothic")};
        const QStringList installed = QFontDatabase::families();
        for (const QString &family : preferred) {
            if (installed.contains(family, Qt::CaseInsensitive))
                return QStringList{family};
        }
        return preferred;
    }();
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
#ifdef Q_OS_WASM
    // A web page has no system fonts, only Qt's Latin ones: the page's
    // program carries a Japanese face, "Rumida Gothic" (web/font/).
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/rumida-gothic.ttf"));
#endif
    QApplication::setFont(windowDefault());
}

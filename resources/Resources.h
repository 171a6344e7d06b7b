// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Where each embedded picture lives in the program's resources.
namespace Resources {
inline const QString Course = QStringLiteral(":/pictures/course.gif");
inline const QString HorseAka = QStringLiteral(":/pictures/horse_aka.gif");
inline const QString HorseCha = QStringLiteral(":/pictures/horse_cha.gif");
inline const QString HorseKi = QStringLiteral(":/pictures/horse_ki.gif");
inline const QString HorseShiro = QStringLiteral(":/pictures/horse_shiro.gif");
inline const QString Icon = QStringLiteral(":/pictures/rumida.ico");
inline const QString Splash = QStringLiteral(":/pictures/splash.bmp");
// Gallery photograph n, 1 to 8.
QString zelko(int n);
} // namespace Resources

// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// The main of the tests run under node: no application object (there is no
// page to show one in), the Japanese settings the game is made for pinned as
// the desktop tests pin them. The tests of the rules need neither, and get
// them all the same.
#include "platform/GameLocale.h"

#include <QLocale>
#include <climits>
#include <cstdint>
#include <gtest/gtest.h>

// What the tests are run here to show: the same results where long and
// size_t are 32 bits.
static_assert(sizeof(long) == 4 && sizeof(std::size_t) == 4 && sizeof(void *) == 4,
              "the node tests are for 32-bit WebAssembly");

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    setGameLocale(japanese);
    return RUN_ALL_TESTS();
}

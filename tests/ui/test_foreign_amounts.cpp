// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Amounts typed under the regional settings of players outside Japan: the
// stake follows the leading-number rule, which knows no locale, while the box
// shows the amount as the locale reads it, in the locale's currency format.
#include "platform/GameLocale.h"
#include "tests/support/MainWindowFixture.h"

#include <QLocale>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct ForeignAmount {
    const char *locale;
    const char *digits; // the pair whose box is used
    QString typed;
    int stake;
    QString shown;
    QString money; // after the stake, from 10000
};

class ForeignAmountsTest : public MainWindowTest {
protected:
    void TearDown() override
    {
        MainWindowTest::TearDown();
        setGameLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    }
};

TEST_F(ForeignAmountsTest, TheBoxShowsWhatTheLocaleReadsAndStakesTheLeadingNumber)
{
    const std::vector<ForeignAmount> table = {
        // A comma is the decimal point here: one and a half euros to show, 1 staked.
        {"de_DE", "13", "1,5", 1, QString::fromUtf8("1,50\u00A0€"), QString::fromUtf8("9.999,00\u00A0€")},
        // And a full stop groups: 1000 to show, while the stake stops at it.
        {"de_DE", "24", "1.000", 1, QString::fromUtf8("1.000,00\u00A0€"), QString::fromUtf8("9.998,00\u00A0€")},
        // A plain space groups as the narrow one does; blanks are not read for the stake.
        {"fr_FR", "12", QString::fromUtf8("1 234,50 €"), 1234, QString::fromUtf8("1\u202F234,50\u00A0€"),
         QString::fromUtf8("8\u202F766,00\u00A0€")},
        // The pound sign ends the leading number at once.
        {"en_GB", "34", QString::fromUtf8("£800"), 0, QString::fromUtf8("£800.00"), QString::fromUtf8("£10,000.00")},
    };
    const char *opened = nullptr;
    for (const ForeignAmount &row : table) {
        SCOPED_TRACE(std::string(row.locale) + " " + row.typed.toStdString());
        if (!opened || std::strcmp(opened, row.locale) != 0) {
            window.reset();
            setGameLocale(QLocale(QString::fromLatin1(row.locale)));
            open();
            opened = row.locale;
        }
        clickCheck(row.digits);
        ASSERT_EQ(focusName(), QStringLiteral("txt") + QLatin1String(row.digits));
        type(row.typed);
        leaveBox();
        EXPECT_EQ(window->purse().stake(pairCodeOf(row.digits)), row.stake);
        EXPECT_EQ(txt(row.digits)->text(), row.shown);
        EXPECT_EQ(money(), row.money);
    }
}

TEST_F(ForeignAmountsTest, ANumberInAnotherLocalesFormStaysAsTyped)
{
    setGameLocale(QLocale(QStringLiteral("de_DE")));
    open();
    EXPECT_EQ(money(), QString::fromUtf8("10.000,00\u00A0€"));
    clickCheck("14");
    type(QString::fromUtf8("1,000.5"));
    leaveBox();
    EXPECT_EQ(window->purse().stake(pairCodeOf("14")), 1);
    EXPECT_EQ(txt("14")->text(), QStringLiteral("1,000.5"));
    EXPECT_EQ(money(), QString::fromUtf8("9.999,00\u00A0€"));
}

} // namespace

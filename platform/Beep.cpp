#include "platform/Beep.h"

#include <QApplication>

void QtBeep::beep()
{
    QApplication::beep();
}

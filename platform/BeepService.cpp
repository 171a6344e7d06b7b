#include "platform/BeepService.h"

#include <QApplication>

void QtBeep::beep()
{
    QApplication::beep();
}

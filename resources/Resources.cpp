#include "resources/Resources.h"

QString Resources::zelko(int n)
{
    return QStringLiteral(":/pictures/zelko%1.jpg").arg(n);
}

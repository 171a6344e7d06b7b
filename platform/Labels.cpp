#include "platform/Labels.h"

#include "platform/Twips.h"

#include <QLabel>

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLabel *autoSizeLabel(QWidget *parent, const char *name, const QString &caption, double left,
                      double top)
{
    QLabel *label = makeLabel(parent, name, caption);
    label->adjustSize();
    label->move(Twips::toPixels(left), Twips::toPixels(top));
    return label;
}

#pragma once

#include <QString>

class QLabel;
class QWidget;

// A label with its objectName, transparent over whatever lies below it.
QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption);

// A label that sizes itself to its caption, at a position in twips.
QLabel *autoSizeLabel(QWidget *parent, const char *name, const QString &caption, double left,
                      double top);

#pragma once
// Controls carry their dialog id in their object name ("id2008"), so tests
// and the help can find them.

#include <QString>
#include <QWidget>

template <typename Widget>
Widget* WithId(Widget* widget, int id)
{
    widget->setObjectName(QStringLiteral("id%1").arg(id));
    return widget;
}

#pragma once
// Where a widget stands inside one of its ancestors (a dialog, a page), for
// layout checks that compare controls living in different frames.

#include <QPoint>
#include <QRect>
#include <QWidget>

inline QRect PlaceIn(const QWidget& ancestor, const QWidget& widget)
{
    return QRect(widget.mapTo(&ancestor, QPoint(0, 0)), widget.size());
}

#include "widgets/ScreenPlacement.h"

#include "settings/ScreenFit.h"

#include <algorithm>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace screen_placement {

namespace {

PlacementRect ToPlacement(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect ToQRect(const PlacementRect& r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// Until the window manager has framed the window its decorations are
// unknown (or only a thin border is known); a title bar's height stands in
// for the top then.
screen_fit::FrameMargins Margins(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    screen_fit::FrameMargins margins{inner.left() - frame.left(), inner.top() - frame.top(),
                                     frame.right() - inner.right(), frame.bottom() - inner.bottom()};
    // Desktop title bars run taller than the style's own.
    const int title = std::max(window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window),
                               2 * window.fontMetrics().height());
    if (margins.top < title / 2)
        margins.top = title;
    return margins;
}

QRect Available(const QWidget& window, const QWidget* near)
{
    const QWidget& reference = near != nullptr ? *near : window;
    const QScreen* screen = QGuiApplication::screenAt(reference.frameGeometry().center());
    if (screen == nullptr)
        screen = reference.screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

PlacementRect Outer(const QWidget& window)
{
    const screen_fit::FrameMargins m = Margins(window);
    const QRect inner = window.geometry();
    return {inner.left() - m.left, inner.top() - m.top, inner.left() + inner.width() + m.right,
            inner.top() + inner.height() + m.bottom};
}

} // namespace

void MoveClearOf(QWidget& window, const std::vector<const QWidget*>& others)
{
    std::vector<PlacementRect> taken;
    for (const QWidget* other : others)
        if (other != nullptr && other != &window)
            taken.push_back(Outer(*other));
    const PlacementRect outer = Outer(window);
    const PlacementRect moved = screen_fit::ClearOf(outer, taken, ToPlacement(Available(window, nullptr)));
    if (moved != outer)
        window.move(window.pos() + QPoint(moved.left - outer.left, moved.top - outer.top));
}

void KeepOnScreen(QWidget& window)
{
    const QRect fitted =
        ToQRect(screen_fit::Fit(ToPlacement(window.geometry()), Margins(window), ToPlacement(Available(window, nullptr))));
    if (fitted != window.geometry())
        window.setGeometry(fitted);
}

void CentreOnScreen(QWidget& window, QSize wanted, const QWidget* near)
{
    window.setGeometry(ToQRect(screen_fit::Centred(wanted.width(), wanted.height(), Margins(window),
                                                   ToPlacement(Available(window, near)))));
}

} // namespace screen_placement

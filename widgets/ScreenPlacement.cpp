#include "widgets/ScreenPlacement.h"

#include "settings/PendingPlacement.h"
#include "settings/WindowPlacer.h"

#include <algorithm>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

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

QRect AvailableNear(const QWidget& reference)
{
    const QScreen* screen = QGuiApplication::screenAt(reference.frameGeometry().center());
    if (screen == nullptr)
        screen = reference.screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// A widget as the placement arithmetic sees it. Read-only uses go through
// the const overloads; SetClient needs the window itself.
class QtPlacedWindow final : public PlacedWindow {
public:
    explicit QtPlacedWindow(const QWidget& window) : m_Window(window) {}
    explicit QtPlacedWindow(QWidget& window) : m_Window(window), m_Writable(&window) {}
    // Read-only, at `fullSize` from its corner (see Neighbour).
    QtPlacedWindow(const QWidget& window, QSize fullSize) : m_Window(window), m_FullSize(fullSize) {}

    PlacementRect Client() const override { return ToPlacement(Grown(m_Window.geometry())); }
    PlacementRect Frame() const override { return ToPlacement(Grown(m_Window.frameGeometry())); }
    PlacementRect NormalClient() const override
    {
        const bool away = m_Window.isMaximized() || m_Window.isMinimized() || m_Window.isFullScreen();
        return ToPlacement(away ? m_Window.normalGeometry() : m_Window.geometry());
    }
    int ShowCommand() const override
    {
        return m_Window.isMaximized()   ? WindowPlacement::kShowMaximized
               : m_Window.isMinimized() ? WindowPlacement::kShowMinimized
                                        : WindowPlacement::kShowNormal;
    }
    PlacementRect Available() const override { return ToPlacement(AvailableNear(m_Window)); }
    int TitleBarHeight() const override
    {
        // Desktop title bars run taller than the style's own.
        return std::max(m_Window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &m_Window),
                        2 * m_Window.fontMetrics().height());
    }
    void SetClient(const PlacementRect& client) override
    {
        if (m_Writable != nullptr && ToQRect(client) != m_Writable->geometry())
            m_Writable->setGeometry(ToQRect(client));
    }

private:
    // The rectangle widened and lengthened by what the full size adds to
    // the present one; the frame keeps its margins round the grown area.
    QRect Grown(const QRect& r) const
    {
        if (!m_FullSize.isValid())
            return r;
        const QSize more = m_FullSize.expandedTo(m_Window.size()) - m_Window.size();
        return r.adjusted(0, 0, more.width(), more.height());
    }

    const QWidget& m_Window;
    QWidget* m_Writable = nullptr;
    QSize m_FullSize;
};

} // namespace

void MoveClearOf(QWidget& window, const std::vector<const QWidget*>& others)
{
    std::vector<Neighbour> neighbours;
    neighbours.reserve(others.size());
    for (const QWidget* other : others)
        neighbours.push_back({other, QSize()});
    MoveClearOf(window, neighbours);
}

void MoveClearOf(QWidget& window, const std::vector<Neighbour>& others)
{
    std::vector<QtPlacedWindow> placed;
    placed.reserve(others.size());
    for (const Neighbour& other : others)
        if (other.window != nullptr && other.window != &window)
            placed.emplace_back(*other.window, other.fullSize);
    std::vector<const PlacedWindow*> pointers;
    for (const QtPlacedWindow& other : placed)
        pointers.push_back(&other);
    QtPlacedWindow self(window);
    WindowPlacer::MoveClearOf(self, pointers);
}

void KeepOnScreen(QWidget& window)
{
    QtPlacedWindow self(window);
    WindowPlacer::KeepOnScreen(self);
}

void CentreOnScreen(QWidget& window, QSize wanted, const QWidget* near)
{
    const QtPlacedWindow self(window);
    window.setGeometry(ToQRect(screen_fit::Centred(wanted.width(), wanted.height(), WindowPlacer::Margins(self),
                                                   ToPlacement(AvailableNear(near != nullptr ? *near : window)))));
}

WindowPlacement Capture(const QWidget& window)
{
    return WindowPlacer::Capture(QtPlacedWindow(window));
}

void Open(QWidget& window, const PlacementRect& saved, PendingPlacement& pending)
{
    QtPlacedWindow self(window);
    pending.Open(self, saved);
    // A window already on the screen has all the frame it will get (none
    // without a window manager): nothing is left to wait for.
    if (window.windowHandle() != nullptr && window.windowHandle()->isExposed())
        pending.Framed(self);
}

void OpenFramed(QWidget& window, PendingPlacement& pending)
{
    QtPlacedWindow self(window);
    pending.Framed(self);
}

void BringToFront(QWidget& window)
{
    window.raise();
    window.activateWindow();
}

} // namespace screen_placement

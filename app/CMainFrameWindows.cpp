// The frame's layout, its bars, its plots and the window placements.

#include "app/CMainFrame.h"

#include "app/CSidebar.h"
#include "app/CStatusbar.h"
#include "app/CToolbar2.h"
#include "app/core/FrameCommandIds.h"
#include "app/core/FrameLayout.h"
#include "app/core/SpectrumPlotRules.h"
#include "app/core/TProcessingObjects.h"
#include "app/core/TRunControl.h"
#include "app/core/UtilityRect.h"
#include "platform/MessageBox.h"
#include "plot/TQuarnPlot.h"
#include "widgets/ScreenPlacement.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

namespace {

// The plot's Help item and the help page it opens.
constexpr std::uint32_t kPlotHelp = 1501;
constexpr std::uint32_t kPlotRelativeCalibration = 872;
constexpr int kPlotHelpContext = 130;

// The plots' window kind. It has no placement slot: storing it does nothing,
// and its saved rectangle is the default one (the whole client area).
constexpr int kPlotWindowKind = 2;

QRect ToQRect(const LayoutRect& r)
{
    return QRect(r.x, r.y, r.width, r.height);
}

QRect ToQRect(const PlacementRect& r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

} // namespace

void CMainFrame::CreateBars()
{
    m_Sidebar = new CSidebar(m_Client, *this);
    m_Toolbar = new CToolbar2(m_Client, *this);
    m_Statusbar = new CStatusbar(m_Client, *this);
    ApplyBarVisibility();
    DisableUnbuiltBarButtons();
}

void CMainFrame::ApplyBarVisibility()
{
    m_Sidebar->setVisible(m_Settings.m_ShowSidebar != 0);
    m_Toolbar->setVisible(m_Settings.m_ShowToolbar != 0);
    m_Statusbar->setVisible(m_Settings.m_ShowStatusbar != 0);
}

DesktopSize CMainFrame::Desktop() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
    return {area.width(), area.height()};
}

void CMainFrame::RecalcLayout()
{
    if (m_Client == nullptr || m_Sidebar == nullptr)
        return;
    FrameLayoutInput in;
    in.clientWidth = m_Client->width();
    in.clientHeight = m_Client->height();
    in.sidebarShown = m_Settings.m_ShowSidebar != 0;
    in.toolbarShown = m_Settings.m_ShowToolbar != 0;
    in.statusbarShown = m_Settings.m_ShowStatusbar != 0;
    in.plot1Exists = m_Plot[0] != nullptr;
    in.plot2Exists = m_Plot[1] != nullptr;
    const FrameLayout layout = FrameLayout::Compute(in);

    m_Sidebar->setGeometry(ToQRect(layout.sidebar));
    m_Toolbar->setGeometry(ToQRect(layout.toolbar));
    m_Statusbar->setGeometry(ToQRect(layout.statusbar));
    if (m_Plot[0] != nullptr)
        m_Plot[0]->setGeometry(ToQRect(layout.plot1));
    if (m_Plot[1] != nullptr)
        m_Plot[1]->setGeometry(ToQRect(layout.plot2));
    m_Client->update();
}

TQuarnPlot* CMainFrame::Plot(int channel) const
{
    return channel == 0 || channel == 1 ? m_Plot[static_cast<std::size_t>(channel)] : nullptr;
}

void CMainFrame::CreateSpectrumPlot(int channel)
{
    if ((channel != 0 && channel != 1) || m_Plot[static_cast<std::size_t>(channel)] != nullptr)
        return;
    TProcessingSettings& p = m_Settings.Processing;
    const bool independent = p.IndependentScalingAndCalibration == 1;
    if (!spectrum_plot_rules::ShouldCreatePlot(independent, p.ChannelProcessing, channel))
        return;

    // Plots keep no placement slot: they open over the client area and the
    // layout places them.
    const PlacementRect whole =
        utility_rect::GetUtilityRect(kPlotWindowKind, Desktop(), m_Client->width(), m_Client->height());
    const PlacementRect rect = m_Settings.Windows.GetSavedWindowRect(kPlotWindowKind, whole, Desktop());

    auto* plot = new TQuarnPlot(m_Client);
    plot->setObjectName(channel == 0 ? QStringLiteral("Plot1") : QStringLiteral("Plot2"));
    plot->SetIniPath(m_Paths.IniPath());
    plot->SetDataPaths(&m_Settings.m_DataPaths, &m_Settings.m_DataPathsInUse);
    const std::string title = spectrum_plot_rules::PlotTitle(independent, p.ChannelProcessing, channel);
    const bool created = plot->Create(title, ToQRect(rect), &p, &m_Settings.Scaling[channel], &m_Settings.Markers[channel],
                                      &m_Settings.Spectrum[channel], m_Processing->GetFirstTraceData(channel),
                                      m_Processing->GetSecondTraceData(channel), channel);
    if (!created) {
        delete plot;
        return;
    }
    connect(plot, &TPlotBase::TitleRefreshRequested, this, &CMainFrame::UpdateTitle);
    connect(plot, &TQuarnPlot::HelpRequested, this, &CMainFrame::ShowHelp);
    connect(plot, &TQuarnPlot::Command, this, [this, channel](std::uint32_t id) { OnPlotCommand(channel, id); });
    plot->SetOwnerCommandEnabled(TQuarnPlot::kPropertiesCommand, true);
    plot->SetOwnerCommandEnabled(kPlotHelp, true);
    plot->SetOwnerCommandEnabled(kPlotRelativeCalibration, true);
    m_Plot[static_cast<std::size_t>(channel)] = plot;
    if (m_Run->IsRunning())
        plot->ClearIdle();
    plot->show();
    m_Toolbar->SyncButtonStates();
    UpdatePlotsMenu();
}

void CMainFrame::OnPlotCommand(int channel, std::uint32_t id)
{
    if (id == kPlotHelp)
        ShowHelp(kPlotHelpContext);
    else if (id == kPlotRelativeCalibration) {
        const TQuarnPlot* plot = m_Plot[static_cast<std::size_t>(channel == 1 ? 1 : 0)];
        if (plot != nullptr) {
            const TQuarnPlot::CalibrationPoint point = plot->RelativeCalibrationPoint();
            SetRelativeCalibration(point.Channel, point.Bin, true);
        }
    }
    // The plot's Options button (and its Properties command): the sheet on its page.
    else if (id == TQuarnPlot::kOptionsButton || id == TQuarnPlot::kPropertiesCommand)
        ShowPlotOptions(2, channel);
}

void CMainFrame::CloseSpectrumPlot(int channel)
{
    TQuarnPlot*& plot = m_Plot[static_cast<std::size_t>(channel == 1 ? 1 : 0)];
    if (plot == nullptr)
        return;
    // Stored like every window that closes; the plots' kind has no slot, so
    // nothing is kept and the next plot opens where the layout puts it.
    const WindowPlacement placement = screen_placement::Capture(*plot);
    m_Settings.Windows.Store(kPlotWindowKind, &placement);
    delete plot;
    plot = nullptr;
    if (m_Toolbar != nullptr)
        m_Toolbar->SyncButtonStates();
    UpdatePlotsMenu();
}

void CMainFrame::DestroyPlots()
{
    CloseSpectrumPlot(0);
    CloseSpectrumPlot(1);
}

void CMainFrame::OnCloseAllPlots()
{
    DestroyPlots();
    UpdateTitle();
    m_Toolbar->SyncButtonStates();
    UpdatePlotsMenu();
}

bool CMainFrame::IsAnyPlotMissing() const
{
    const TProcessingSettings& p = m_Settings.Processing;
    const bool independent = p.IndependentScalingAndCalibration == 1;
    for (int c = 0; c < 2; ++c)
        if (m_Plot[static_cast<std::size_t>(c)] == nullptr &&
            spectrum_plot_rules::ShouldCreatePlot(independent, p.ChannelProcessing, c) &&
            (c == 0 || p.Format.NumChannels == 2))
            return true;
    return false;
}

void CMainFrame::OnReopenPlots()
{
    if (!IsAnyPlotMissing())
        return;
    CreateSpectrumPlot(0);
    if (m_Settings.Processing.Format.NumChannels == 2)
        CreateSpectrumPlot(1);
    RecalcLayout();
    UpdateTitle();
    UpdatePlotsMenu();
}

void CMainFrame::UpdatePlotsMenu()
{
    if (QAction* action = ActionFor(frame_command::kReopenPlots))
        action->setEnabled(IsAnyPlotMissing());
}

void CMainFrame::SyncPlotsWithMode()
{
    const TProcessingSettings& p = m_Settings.Processing;
    const bool independent = p.IndependentScalingAndCalibration == 1;
    bool matches = true;
    for (int c = 0; c < 2; ++c) {
        const TQuarnPlot* plot = m_Plot[static_cast<std::size_t>(c)];
        const bool wanted = spectrum_plot_rules::ShouldCreatePlot(independent, p.ChannelProcessing, c) &&
                            (c == 0 || p.Format.NumChannels == 2);
        if (wanted != (plot != nullptr) ||
            (plot != nullptr && plot->Title() != spectrum_plot_rules::PlotTitle(independent, p.ChannelProcessing, c)))
            matches = false;
    }
    if (matches)
        return;
    DestroyPlots();
    CreateSpectrumPlot(0);
    if (p.Format.NumChannels == 2)
        CreateSpectrumPlot(1);
    RecalcLayout();
}

void CMainFrame::UpdateTitle()
{
    setWindowTitle(QString::fromLatin1(platform::kProgramCaption));
}

void CMainFrame::OnToggleBar(std::uint32_t id)
{
    std::uint8_t* flag = nullptr;
    QWidget* bar = nullptr;
    switch (id) {
    case frame_command::kToggleSidebar: flag = &m_Settings.m_ShowSidebar; bar = m_Sidebar; break;
    case frame_command::kToggleToolbar: flag = &m_Settings.m_ShowToolbar; bar = m_Toolbar; break;
    case frame_command::kToggleStatusbar: flag = &m_Settings.m_ShowStatusbar; bar = m_Statusbar; break;
    default: return;
    }
    *flag = *flag != 0 ? 0 : 1;
    if (bar != nullptr)
        bar->setVisible(*flag != 0);
    RecalcLayout();
    UpdateBarsMenu();
}

void CMainFrame::OnTogglePlotToolStrips()
{
    const bool anyShown = m_Settings.Spectrum[0].ShowToolbar != 0 || m_Settings.Spectrum[1].ShowToolbar != 0;
    const std::uint8_t show = anyShown ? 0 : 1;
    for (int c = 0; c < 2; ++c) {
        m_Settings.Spectrum[c].ShowToolbar = show;
        if (m_Plot[static_cast<std::size_t>(c)] != nullptr)
            m_Plot[static_cast<std::size_t>(c)]->ShowToolStrip(show != 0);
    }
    UpdateBarsMenu();
}

void CMainFrame::UpdateBarsMenu()
{
    const auto check = [this](std::uint32_t id, bool on) {
        if (QAction* action = ActionFor(id)) {
            action->setCheckable(true);
            action->setChecked(on);
        }
    };
    check(frame_command::kToggleSidebar, m_Settings.m_ShowSidebar != 0);
    check(frame_command::kToggleToolbar, m_Settings.m_ShowToolbar != 0);
    check(frame_command::kToggleStatusbar, m_Settings.m_ShowStatusbar != 0);
    check(frame_command::kToggleSeriesToolStrip, m_Settings.Series.ShowToolbar != 0);
    check(frame_command::kTogglePlotToolStrips,
          m_Settings.Spectrum[0].ShowToolbar != 0 || m_Settings.Spectrum[1].ShowToolbar != 0);
}

WindowPlacement CMainFrame::CurrentPlacement() const
{
    // The normal rectangle even while maximised, so that the next start
    // can come back to it; the window's own area without the desktop's
    // decorations, as the restore applies it.
    return screen_placement::Capture(*this);
}

void CMainFrame::ApplyPlacement(const WindowPlacement& placement)
{
    const QRect rect = ToQRect(placement.normal);
    // The default spans the whole desktop from its top-left corner, and a
    // stored one may come from a larger screen: the title bar must stay
    // reachable. At the start the frame is not known yet; once it is, the
    // area is fitted again (see eventFilter).
    if (rect.width() > 0 && rect.height() > 0)
        screen_placement::Open(*this, placement.normal, m_PendingPlacement);
    if (placement.showCmd == WindowPlacement::kShowMaximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    else if (placement.showCmd == WindowPlacement::kShowMinimized || placement.showCmd == WindowPlacement::kMinimize)
        setWindowState(windowState() | Qt::WindowMinimized);
}

void CMainFrame::RestoreMainWindowPlacement()
{
    if (const auto placement = m_Settings.Windows.PlacementToRestore(kSlotMainWindow, Desktop(), false))
        ApplyPlacement(*placement);
}

void CMainFrame::StoreWindowPlacements()
{
    const WindowPlacement frame = CurrentPlacement();
    m_Settings.Windows.Store(kSlotMainWindow, &frame);
    for (int id : WindowSlots::kIds)
        if (id != kSlotMainWindow)
            StoreUtilitySlot(id);
}

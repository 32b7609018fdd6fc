// The controls of TQuarnPlot: the tool strip across its top, the overlay
// store buttons and show boxes beside the panes, and the three corner
// buttons that fold the strip, the power meter and the overlay controls.
#include "plot/TQuarnPlot.h"

#include "plot/LabelFont.h"
#include "plot/PlotCaptions.h"
#include "plot/QuarnPlotLayout.h"
#include "plot/TLimitScroll.h"
#include "plot/ToolStripFields.h"

#include "widgets/CToolBtn.h"
#include "engine/ScalingOpts.h"
#include "settings/SpectrumOpts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace {

using namespace quarn_layout;

struct ToolButtonEntry {
    std::uint32_t Id;
    const char* Up;
    const char* Down;
    const char* Grey;
    const char* Tip;
};

// In the order they stand, left to right.
constexpr ToolButtonEntry kToolButtons[TQuarnPlot::kToolButtonCount] = {
    {401, "ZoomInUp", "ZoomInDn", "ZoomInGry", "Zoom in along frequency axis"},
    {403, "Zoom2XInUp", "Zoom2XInDn", "Zoom2XInGry", "Zoom in by a factor of 2x"},
    {404, "Zoom2XOutUp", "Zoom2XOutDn", "Zoom2XOutGry", "Zoom out by a factor of 2x"},
    {402, "ZoomFullUp", "ZoomFullDn", "ZoomFullGry", "Zoom out to show full frequency span"},
    {471, "GraphLineUp", "GraphLineDn", nullptr, "Display spectrum as line graph"},
    {473, "GraphStepBarUp", "GraphStepBarDn", nullptr, "Display spectrum as stepped bar graph"},
    {472, "GraphBarUp", "GraphBarDn", nullptr, "Display spectrum as bar graph"},
    {420, "OptionsUp", "OptionsDn", nullptr, "Set additional spectrum display options"},
    {511, "MarkerUp", "MarkerDown", nullptr, "Marker Options"},
    {480, "AutoScaleUp", "AutoScaleDn", "AutoGr", "Autoscale current spectrum"},
};

constexpr std::uint32_t kPlotTopEdit = 450;
constexpr std::uint32_t kPlotRangeEdit = 452;
constexpr std::uint32_t kPeakHoldList = 510;
constexpr std::uint32_t kFirstStore[2] = {1201, 1211};
constexpr std::uint32_t kFirstShow[2] = {1221, 1231};
constexpr std::uint32_t kOverlayOptions[2] = {1400, 1401};
constexpr std::uint32_t kFirstCorner = 1410;
// Plot types 0 line, 1 bar, 2 stepped bar and their buttons.
constexpr std::uint32_t kPlotTypeButtons[3] = {471, 472, 473};

// The peak-hold list is a little taller than the edits, as a drop-down is.
constexpr int kPeakHoldListHeight = 22;
// The caption's tiny font: the store buttons and corner buttons are 14 and
// 10 pixels square.
constexpr int kTinyFontHeight = 11;
// The power meter's labels fit the 30 pixels between the bar and the
// overlay buttons; the tool strip's fields use it too.
constexpr int kMeterFontHeight = 12;

QRect ToQRect(const PlotRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

} // namespace

void TQuarnPlot::InitResources()
{
    m_Creating = true;
    // The base's fonts and pointers; its reset view waits for the end of creation.
    TPlotBase::InitResources();
    m_TinyFont = CreateLabelFont(kTinyFontHeight, this);
    m_MeterFont = CreateLabelFont(kMeterFontHeight, this);
    CreateToolStrip();
    CreateOverlayControls();
    if (m_Spectrum != nullptr && m_Scaling != nullptr) {
        ApplyFieldsForAmpScale(true);
        ResetPointArrays();
        SetFrequencyRange(m_Spectrum->StartFreq, m_Spectrum->StopFreq);
        LatchPlotTypeButton();
        SyncOverlayShowBoxes();
    }
    for (int i = 0; i < 3; ++i) {
        QPushButton* corner = new QPushButton(QStringLiteral("+"), this);
        corner->setFlat(true);
        corner->setFont(m_TinyFont);
        corner->setFocusPolicy(Qt::NoFocus);
        const std::uint32_t id = kFirstCorner + static_cast<std::uint32_t>(i);
        connect(corner, &QPushButton::clicked, this, [this, id] { emit Command(id); });
        m_Corner[static_cast<std::size_t>(i)] = corner;
    }
    setWindowTitle(QString::fromStdString(m_Title));
    m_Creating = false;
    ResetView();
}

void TQuarnPlot::CreateToolStrip()
{
    for (std::size_t i = 0; i < std::size(kToolButtons); ++i) {
        const ToolButtonEntry& item = kToolButtons[i];
        CToolBtn* button = new CToolBtn(this, item.Id, QString::fromLatin1(item.Up), QString::fromLatin1(item.Down),
                                        item.Grey != nullptr ? QString::fromLatin1(item.Grey) : QString(),
                                        QString::fromLatin1(item.Tip));
        button->setGeometry(ToolButtonX(item.Id), kButtonTop, kButtonSize, kButtonSize);
        connect(button, &CToolBtn::Command, this, &TQuarnPlot::Command);
        m_Buttons[i] = button;
    }

    const auto makeEdit = [this](std::uint32_t id) {
        QLineEdit* edit = new QLineEdit(this);
        // Eight characters ("100.0000") fit the 56 pixels of the field.
        edit->setFont(m_MeterFont);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->setTextMargins(1, 0, 1, 0);
        connect(edit, &QLineEdit::textEdited, this, [this, id] { emit Command(id); });
        return edit;
    };
    m_TopEdit = makeEdit(kPlotTopEdit);
    m_RangeEdit = makeEdit(kPlotRangeEdit);
    connect(m_RangeEdit, &QLineEdit::editingFinished, this, [this] { OnPlotRangeChanged(true); });
    // The spinners beside the fields: a step edits the field as typing does.
    const auto makeSpin = [this](QLineEdit* field, std::uint32_t id) {
        auto* spin = new TLimitScroll(this);
        spin->Attach(field, 1.0f, 0.0f, 1.0f, LimitStep::kAdd);
        connect(spin, &TLimitScroll::Stepped, this, [this, id] { emit Command(id); });
        return spin;
    };
    m_TopSpin = makeSpin(m_TopEdit, kPlotTopEdit);
    m_RangeSpin = makeSpin(m_RangeEdit, kPlotRangeEdit);

    m_PeakHoldList = new QComboBox(this);
    m_PeakHoldList->setFont(m_LabelFont);
    for (std::size_t i = 0; i < kPeakHoldItems.size(); ++i)
        m_PeakHoldList->addItem(QString::fromLatin1(kPeakHoldItems[i]), static_cast<int>(i));
    connect(m_PeakHoldList, &QComboBox::activated, this, [this] { emit Command(kPeakHoldList); });
    LayoutToolStrip();
}

void TQuarnPlot::CreateOverlayControls()
{
    for (int pane = 0; pane < 2; ++pane) {
        for (int n = 0; n < kOverlaySlots; ++n) {
            const QString text = n + 1 < kOverlaySlots ? QString::number(n + 1) : QStringLiteral("C");
            QPushButton* store = new QPushButton(text, this);
            store->setFont(m_TinyFont);
            store->setFocusPolicy(Qt::NoFocus);
            const std::uint32_t storeId = kFirstStore[pane] + static_cast<std::uint32_t>(n);
            connect(store, &QPushButton::clicked, this, [this, storeId] { emit Command(storeId); });
            m_Store[pane][n] = store;

            QCheckBox* show = new QCheckBox(this);
            show->setFocusPolicy(Qt::NoFocus);
            const std::uint32_t showId = kFirstShow[pane] + static_cast<std::uint32_t>(n);
            connect(show, &QCheckBox::clicked, this, [this, showId] { emit Command(showId); });
            m_Show[pane][n] = show;
        }
        QPushButton* options = new QPushButton(QStringLiteral("Options..."), this);
        options->setFont(m_TinyFont);
        options->setFocusPolicy(Qt::NoFocus);
        const std::uint32_t optionsId = kOverlayOptions[pane];
        connect(options, &QPushButton::clicked, this, [this, optionsId] { emit Command(optionsId); });
        m_OverlayOptions[pane] = options;
    }
}

CToolBtn* TQuarnPlot::ToolButton(std::uint32_t id) const
{
    for (CToolBtn* button : m_Buttons)
        if (button != nullptr && button->GetId() == id)
            return button;
    return nullptr;
}

void TQuarnPlot::ShowToolStripControls(bool show)
{
    for (CToolBtn* button : m_Buttons)
        if (button != nullptr)
            button->setVisible(show);
    for (QWidget* field : {static_cast<QWidget*>(m_TopEdit), static_cast<QWidget*>(m_TopSpin),
                           static_cast<QWidget*>(m_RangeEdit), static_cast<QWidget*>(m_RangeSpin),
                           static_cast<QWidget*>(m_PeakHoldList)})
        if (field != nullptr)
            field->setVisible(show);
}

void TQuarnPlot::LayoutToolStrip()
{
    if (m_Spectrum == nullptr || m_Spectrum->ShowToolbar == 0 || m_TopEdit == nullptr)
        return;
    for (CToolBtn* button : m_Buttons)
        button->setGeometry(ToolButtonX(button->GetId()), kButtonTop, kButtonSize, kButtonSize);
    const int editTop = m_Margins.ToolStripHeight / 2 - kEditHeight / 2;
    m_TopEdit->setGeometry(kTopEditX, editTop, kEditWidth, kEditHeight);
    m_TopSpin->setGeometry(kTopEditX + kEditWidth + 2, editTop, kSpinWidth, kEditHeight);
    m_RangeEdit->setGeometry(kRangeEditX, editTop, kEditWidth, kEditHeight);
    m_RangeSpin->setGeometry(kRangeEditX + kEditWidth + 2, editTop, kSpinWidth, kEditHeight);
    m_PeakHoldList->setGeometry(kPeakHoldListX, m_Margins.ToolStripHeight / 2 - kPeakHoldListHeight / 2,
                                kPeakHoldListWidth, kPeakHoldListHeight);
    CToolBtn* zoomMode = ToolButton(401);
    if (zoomMode != nullptr && zoomMode->IsLatched()) {
        zoomMode->ClearLatch();
        SetZoomMode(false);
    }
    InvalidatePlot({0, 0, width(), m_Margins.ToolStripHeight});
}

void TQuarnPlot::LayoutOverlayControls()
{
    if (m_Spectrum == nullptr || m_Store[0][0] == nullptr)
        return;
    const bool shown = m_Spectrum->ShowOverlayControls != 0;
    for (int pane = 0; pane < 2; ++pane) {
        const bool visible = shown && (pane == 0 || m_PaneCount == 2);
        for (int n = 0; n < kOverlaySlots; ++n) {
            m_Store[pane][n]->setVisible(visible);
            m_Show[pane][n]->setVisible(visible);
        }
        m_OverlayOptions[pane]->setVisible(visible);
    }
    if (!shown)
        return;

    const PlotRect& plot = m_Areas.Plot;
    const bool meter = m_Spectrum->ShowPowerMeter != 0;
    const int x0 = OverlayColumnX(plot, meter);
    for (int pane = 0; pane < PaneCountShown(); ++pane) {
        const PlotRect rect = PaneRect(pane);
        for (int n = 0; n < kOverlaySlots; ++n) {
            const int y = OverlayRowY(rect, n);
            m_Store[pane][n]->setGeometry(x0 - 1, y - 1, kOverlayButtonSize, kOverlayButtonSize);
            m_Show[pane][n]->setGeometry(x0 + 16, y, kOverlayButtonSize, kOverlayButtonSize);
        }
        m_OverlayOptions[pane]->setGeometry(x0 - 4, OverlayRowY(rect, kOverlaySlots) + 2, kOverlayOptionsWidth,
                                            kOverlayOptionsHeight);
    }
}

void TQuarnPlot::PlaceCornerButtons()
{
    if (m_Corner[0] == nullptr || m_Spectrum == nullptr)
        return;
    const PlotRect client = ClientRect();
    const auto sign = [](std::uint8_t shown) { return shown != 0 ? QStringLiteral("-") : QStringLiteral("+"); };
    m_Corner[0]->setGeometry(ToQRect(ToolStripCornerButton(client, m_Margins.ToolStripHeight)));
    // The sign says what a click does; the tip says to what.
    const auto tip = [](std::uint8_t shown, const char* what) {
        return QString::fromLatin1(shown != 0 ? "Hide the %1" : "Show the %1").arg(QString::fromLatin1(what));
    };
    m_Corner[0]->setText(sign(m_Spectrum->ShowToolbar));
    m_Corner[0]->setToolTip(tip(m_Spectrum->ShowToolbar, "plot tool strip"));
    m_Corner[1]->setGeometry(ToQRect(PowerMeterCornerButton(client, m_Areas.Plot)));
    m_Corner[1]->setText(sign(m_Spectrum->ShowPowerMeter));
    m_Corner[1]->setToolTip(tip(m_Spectrum->ShowPowerMeter, "power meter"));
    m_Corner[2]->setGeometry(ToQRect(OverlayCornerButton(client, m_Areas.Plot, m_Margins.Right)));
    m_Corner[2]->setText(sign(m_Spectrum->ShowOverlayControls));
    m_Corner[2]->setToolTip(tip(m_Spectrum->ShowOverlayControls, "overlay controls"));
}

void TQuarnPlot::ApplyFieldsForAmpScale(bool atCreation)
{
    if (m_TopEdit == nullptr || m_Scaling == nullptr || m_Spectrum == nullptr)
        return;
    const ToolStripFields fields =
        FieldsForAmpScale(m_Scaling->AmpScaleType, m_Spectrum->PlotTop, m_Spectrum->PlotRange, atCreation);
    // Written by the plot, not typed: no field command.
    m_TopEdit->setText(QString::fromStdString(fields.TopText));
    m_RangeEdit->setText(QString::fromStdString(fields.RangeText));
    // A number too long for the field shows its leading digits.
    m_TopEdit->setCursorPosition(0);
    m_RangeEdit->setCursorPosition(0);
    m_RangeEdit->setEnabled(fields.RangeEnabled);
    m_RangeSpin->setEnabled(fields.RangeEnabled);
    m_TopSpinSetup = fields.TopSpin;
    ConfigureSpinner(m_TopSpin, m_TopSpinSetup);
    if (fields.RangeSpinChanged) {
        m_RangeSpinSetup = fields.RangeSpin;
        ConfigureSpinner(m_RangeSpin, m_RangeSpinSetup);
    }
    if (m_RangeCaption != QString::fromStdString(fields.RangeCaption)) {
        m_RangeCaption = QString::fromStdString(fields.RangeCaption);
        InvalidatePlot({0, 0, width(), m_Margins.ToolStripHeight});
    }
}

void TQuarnPlot::LatchPlotTypeButton()
{
    if (m_Spectrum == nullptr)
        return;
    for (std::uint16_t type = 0; type < 3; ++type)
        if (CToolBtn* button = ToolButton(kPlotTypeButtons[type]))
            button->SetLatched(type == m_Spectrum->PlotType);
}

void TQuarnPlot::SyncOverlayShowBoxes()
{
    if (m_Spectrum == nullptr || m_Show[0][0] == nullptr)
        return;
    for (int pane = 0; pane < 2; ++pane)
        for (int n = 0; n < kOverlaySlots; ++n) {
            const SpectrumOverlayEntry& entry = m_Spectrum->Overlay[n];
            m_Show[pane][n]->setChecked((pane == 0 ? entry.Show1 : entry.Show2) != 0);
        }
}

void TQuarnPlot::SyncPeakHoldList()
{
    if (m_PeakHoldList == nullptr || m_Spectrum == nullptr)
        return;
    const int index = m_PeakHoldList->findData(static_cast<int>(m_Spectrum->PeakHold));
    m_PeakHoldList->setCurrentIndex(index);
}

void TQuarnPlot::RefreshBackgroundBrush()
{
    TPlotBase::RefreshBackgroundBrush();
    for (CToolBtn* button : m_Buttons)
        if (button != nullptr)
            button->LoadBitmaps();
}

void TQuarnPlot::PaintPlot(QPainter& dc, bool flag, const PlotRect& clip)
{
    if (m_Printing || clip.top > m_Margins.ToolStripHeight)
        return;
    TPlotBase::PaintPlot(dc, flag, clip);
    if (m_Spectrum == nullptr || m_Spectrum->ShowToolbar == 0 || m_TopEdit == nullptr)
        return;
    dc.save();
    dc.setFont(m_LabelFont);
    dc.setPen(palette().color(QPalette::WindowText));
    const int fontHeight = m_LabelFontHeight;
    const auto caption = [&dc, fontHeight](const QWidget* field, int rise, const QString& text) {
        const int right = field->x() - 3;
        const int top = field->y() - rise + fontHeight / 2;
        dc.drawText(QRect(right - 200, top, 200, fontHeight), Qt::AlignRight | Qt::AlignTop, text);
    };
    caption(m_TopEdit, 4, QStringLiteral("Plot Top:"));
    caption(m_RangeEdit, 4, m_RangeCaption.isEmpty() ? QStringLiteral("Plot Range:") : m_RangeCaption);
    caption(m_PeakHoldList, 2, QStringLiteral("Peak Hold:"));
    dc.restore();
}

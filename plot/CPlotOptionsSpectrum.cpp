#include "plot/CPlotOptionsSpectrum.h"

#include "plot/PlotCaptions.h"
#include "plot/TLimitScroll.h"
#include "plot/TMarkerOptionsDialog.h"

#include "platform/MessageBox.h"
#include "settings/SpectrumOpts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int kEditWidth = 80;
constexpr int kSpinWidth = 14;
constexpr int kSwatchSize = 18;

struct ColourButton {
    const char* Caption;
    const char* Name;
};
constexpr ColourButton kColourButtons[5] = {{"&Line/Bar...", "LineColor"},
                                            {"Peak Hold...", "PeakColor"},
                                            {"&Background...", "BackgroundColor"},
                                            {"&Grid...", "GridColor"},
                                            {"Markers...", "MarkerColor"}};
constexpr const char* kThickCaptions[PlotOptionsForm::kThickCount] = {
    "Thick Spectrum Trace", "Thick Peak Hold Trace", "Thick Overlay Traces", "Thick Markers"};

// 0x00BBGGRR and back.
QColor ToQColor(std::uint32_t c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

std::uint32_t FromQColor(const QColor& c)
{
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8)
           | (static_cast<std::uint32_t>(c.blue()) << 16);
}

std::optional<std::uint32_t> AskColour(QWidget* parent, std::uint32_t current)
{
    const QColor chosen = QColorDialog::getColor(ToQColor(current), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return FromQColor(chosen);
}

void SetUp(TLimitScroll& spin, const SpinSetup& setup)
{
    spin.SetRange(setup.Maximum, setup.Minimum);
    spin.SetStep(setup.Step, setup.Multiply ? LimitStep::kMultiply : LimitStep::kAdd);
    spin.SetPrecision(setup.Decimals);
}

} // namespace

CPlotOptionsSpectrum::CPlotOptionsSpectrum(QWidget* parent, int channel, std::uint16_t ampScale,
                                           SpectrumOpts* spectrum, MarkerOpts* markers)
    : QWidget(parent), m_Channel(channel), m_AmpScale(ampScale), m_Spectrum(spectrum), m_Markers(markers),
      m_ChooseColour(AskColour)
{
    setObjectName(channel == 1 ? QStringLiteral("SpectrumPage2") : QStringLiteral("SpectrumPage"));
    BuildControls();
}

void CPlotOptionsSpectrum::BuildControls()
{
    const auto check = [this](const QString& caption, const QString& name) {
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(name);
        return box;
    };
    const auto edit = [this](const QString& name) {
        auto* field = new QLineEdit(this);
        field->setObjectName(name);
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        field->setFixedWidth(kEditWidth);
        return field;
    };
    const auto spin = [this](QLineEdit* field, const QString& name) {
        auto* bar = new TLimitScroll(this);
        bar->setObjectName(name);
        bar->Attach(field, 1.0f, 0.0f, 1.0f, LimitStep::kAdd);
        bar->setFixedSize(kSpinWidth, field->sizeHint().height());
        return bar;
    };
    const auto withSpin = [](QLineEdit* field, TLimitScroll* bar) {
        auto* row = new QHBoxLayout;
        row->setSpacing(1);
        row->addWidget(field);
        row->addWidget(bar);
        row->addStretch();
        return row;
    };

    // Plot Options
    auto* plotBox = new QGroupBox(QStringLiteral("Plot Options"), this);
    auto* plotLayout = new QGridLayout(plotBox);
    const char* typeCaptions[3] = {"&Line Graph", "&Bar Graph", "S&tepped Bar Graph"};
    const char* typeNames[3] = {"LineGraph", "BarGraph", "SteppedBarGraph"};
    auto* types = new QButtonGroup(this);
    for (int t = 0; t < 3; ++t) {
        m_PlotType[static_cast<std::size_t>(t)] = new QRadioButton(QString::fromUtf8(typeCaptions[t]), plotBox);
        m_PlotType[static_cast<std::size_t>(t)]->setObjectName(QString::fromUtf8(typeNames[t]));
        types->addButton(m_PlotType[static_cast<std::size_t>(t)], t);
        plotLayout->addWidget(m_PlotType[static_cast<std::size_t>(t)], t, 0);
    }
    m_Top = edit(QStringLiteral("PlotTop"));
    m_TopSpin = spin(m_Top, QStringLiteral("PlotTopSpin"));
    m_Range = edit(QStringLiteral("PlotRange"));
    m_RangeSpin = spin(m_Range, QStringLiteral("PlotRangeSpin"));
    m_RangeLabel = new QLabel(QStringLiteral("Plot Range"), plotBox);
    m_RangeLabel->setObjectName(QStringLiteral("PlotRangeLabel"));
    plotLayout->addWidget(new QLabel(QStringLiteral("Plot Top"), plotBox), 0, 1);
    plotLayout->addLayout(withSpin(m_Top, m_TopSpin), 0, 2);
    plotLayout->addWidget(m_RangeLabel, 1, 1);
    plotLayout->addLayout(withSpin(m_Range, m_RangeSpin), 1, 2);
    m_PeakHold = new QComboBox(plotBox);
    m_PeakHold->setObjectName(QStringLiteral("PeakHold"));
    for (std::size_t i = 0; i < kPeakHoldItems.size(); ++i)
        m_PeakHold->addItem(QString::fromUtf8(kPeakHoldItems[i]), static_cast<int>(i));
    plotLayout->addWidget(new QLabel(QStringLiteral("Peak Hold"), plotBox), 2, 1);
    plotLayout->addWidget(m_PeakHold, 2, 2);
    m_GrabCursor = check(QStringLiteral("Pull Cursor to Trace"), QStringLiteral("GrabCursorFlag"));
    plotLayout->addWidget(m_GrabCursor, 3, 0);
    for (int t = 0; t < PlotOptionsForm::kThickCount; ++t) {
        QCheckBox* box = check(QString::fromUtf8(kThickCaptions[t]), QStringLiteral("Thick%1").arg(t));
        m_Thick[static_cast<std::size_t>(t)] = box;
        // Two to a row; the right one spans the field columns.
        const bool leftColumn = t % 2 == 0;
        plotLayout->addWidget(box, 4 + t / 2, leftColumn ? 0 : 1, 1, leftColumn ? 1 : 2);
    }

    // Colors and Gridlines
    auto* colourBox = new QGroupBox(QStringLiteral("Colors and Gridlines"), this);
    auto* colourLayout = new QGridLayout(colourBox);
    for (int c = 0; c < 5; ++c) {
        auto* button = new QPushButton(QString::fromUtf8(kColourButtons[c].Caption), colourBox);
        button->setObjectName(QString::fromUtf8(kColourButtons[c].Name));
        connect(button, &QPushButton::clicked, this, [this, c] { OnColour(c); });
        auto* swatch = new QLabel(colourBox);
        swatch->setObjectName(QString::fromUtf8(kColourButtons[c].Name) + QStringLiteral("Swatch"));
        swatch->setFixedSize(kSwatchSize, kSwatchSize);
        swatch->setAutoFillBackground(true);
        swatch->setFrameShape(QFrame::Box);
        m_Swatch[static_cast<std::size_t>(c)] = swatch;
        colourLayout->addWidget(button, c, 0);
        colourLayout->addWidget(swatch, c, 1);
    }
    auto* markers = new QPushButton(QStringLiteral("Marker Options..."), colourBox);
    markers->setObjectName(QStringLiteral("MarkerOptions"));
    connect(markers, &QPushButton::clicked, this, &CPlotOptionsSpectrum::OnMarkerOptions);
    colourLayout->addWidget(markers, 0, 2);
    m_GridX = check(QStringLiteral("Show &Vertical Gridlines"), QStringLiteral("GridXEnabled"));
    m_GridY = check(QStringLiteral("Show &Horizontal Gridlines"), QStringLiteral("GridYEnabled"));
    m_ShowToolbar = check(QStringLiteral("Show Toolbar"), QStringLiteral("ShowToolbar"));
    m_ShowOverlayControls = check(QStringLiteral("Show Overlay Controls"), QStringLiteral("ShowOverlayControls"));
    colourLayout->addWidget(m_GridX, 1, 2);
    colourLayout->addWidget(m_GridY, 2, 2);
    colourLayout->addWidget(m_ShowToolbar, 3, 2);
    colourLayout->addWidget(m_ShowOverlayControls, 4, 2);

    // Frequency Span
    auto* spanBox = new QGroupBox(QStringLiteral("Frequency Span"), this);
    auto* spanLayout = new QGridLayout(spanBox);
    m_Start = edit(QStringLiteral("StartFreq"));
    m_Stop = edit(QStringLiteral("StopFreq"));
    spanLayout->addWidget(new QLabel(QStringLiteral("Start (Hz)"), spanBox), 0, 0);
    spanLayout->addWidget(m_Start, 0, 1);
    spanLayout->addWidget(new QLabel(QStringLiteral("Stop (Hz)"), spanBox), 1, 0);
    spanLayout->addWidget(m_Stop, 1, 1);

    // Display Update Interval
    auto* intervalBox = new QGroupBox(QStringLiteral("Display Update Interval"), this);
    auto* intervalLayout = new QVBoxLayout(intervalBox);
    m_OftenAsPossible = new QRadioButton(QStringLiteral("&As often as possible"), intervalBox);
    m_OftenAsPossible->setObjectName(QStringLiteral("AsOftenAsPossible"));
    m_SpecificInterval = new QRadioButton(QStringLiteral("&Specific Interval (seconds)"), intervalBox);
    m_SpecificInterval->setObjectName(QStringLiteral("SpecificInterval"));
    m_Interval = edit(QStringLiteral("IntervalSecs"));
    m_IntervalSpin = spin(m_Interval, QStringLiteral("IntervalSpin"));
    SetUp(*m_IntervalSpin, plot_options::kIntervalSpin);
    intervalLayout->addWidget(m_OftenAsPossible);
    intervalLayout->addWidget(m_SpecificInterval);
    intervalLayout->addLayout(withSpin(m_Interval, m_IntervalSpin));
    connect(m_OftenAsPossible, &QRadioButton::toggled, this, &CPlotOptionsSpectrum::EnableInterval);
    connect(m_SpecificInterval, &QRadioButton::toggled, this, &CPlotOptionsSpectrum::EnableInterval);

    // Wideband Power Levels
    auto* powerBox = new QGroupBox(QStringLiteral("Wideband Power Levels"), this);
    auto* powerLayout = new QVBoxLayout(powerBox);
    m_PowerMeter = check(QStringLiteral("Show Wideband Power Meter (vertical bar to right of plot)"),
                         QStringLiteral("ShowPowerMeter"));
    m_RMSLevel = check(QStringLiteral("Show Zoomed Power Level (numeric readout on upper left of plot)"),
                       QStringLiteral("ShowRMSLevel"));
    powerLayout->addWidget(m_PowerMeter);
    powerLayout->addWidget(m_RMSLevel);

    // Help and Defaults at the top right.
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("Help"));
    connect(help, &QPushButton::clicked, this, [this] {
        if (m_Help)
            m_Help(kHelpContext);
    });
    auto* defaults = new QPushButton(QStringLiteral("Defaults"), this);
    defaults->setObjectName(QStringLiteral("Defaults"));
    connect(defaults, &QPushButton::clicked, this, &CPlotOptionsSpectrum::OnDefaults);

    auto* grid = new QGridLayout(this);
    auto* topRight = new QHBoxLayout;
    topRight->addStretch();
    topRight->addWidget(help);
    topRight->addWidget(defaults);
    grid->addLayout(topRight, 0, 0, 1, 2);
    grid->addWidget(plotBox, 1, 0);
    grid->addWidget(colourBox, 1, 1);
    auto* lower = new QHBoxLayout;
    lower->addWidget(spanBox);
    lower->addWidget(intervalBox);
    grid->addLayout(lower, 2, 0);
    grid->addWidget(powerBox, 2, 1);
}

void CPlotOptionsSpectrum::showEvent(QShowEvent* event)
{
    FillOnce();
    QWidget::showEvent(event);
}

void CPlotOptionsSpectrum::FillOnce()
{
    if (m_Initialised)
        return;
    const PlotOptionsAmplitudeFields fields = plot_options::AmplitudeFields(m_AmpScale);
    SetUp(*m_TopSpin, fields.TopSpin);
    if (fields.RangeEnabled)
        SetUp(*m_RangeSpin, fields.RangeSpin);
    m_Range->setEnabled(fields.RangeEnabled);
    m_RangeSpin->setEnabled(fields.RangeEnabled);
    m_RangeLabel->setText(QString::fromStdString(fields.RangeLabel));
    m_RMSLevel->setChecked(false);
    m_RMSLevel->hide();
    WriteForm(plot_options::Fill(*m_Spectrum, m_AmpScale));
    PaintSwatches();
    m_Initialised = true;
}

void CPlotOptionsSpectrum::WriteForm(const PlotOptionsForm& f)
{
    m_PlotType[std::min<std::size_t>(f.PlotType, 2)]->setChecked(true);
    m_GridX->setChecked(f.GridX);
    m_GridY->setChecked(f.GridY);
    m_ShowToolbar->setChecked(f.ShowToolbar);
    m_ShowOverlayControls->setChecked(f.ShowOverlayControls);
    m_GrabCursor->setChecked(f.GrabCursor);
    m_PowerMeter->setChecked(f.PowerMeter);
    for (std::size_t t = 0; t < m_Thick.size(); ++t)
        m_Thick[t]->setChecked(f.Thick[t]);
    m_Top->setText(QString::fromStdString(f.Top));
    m_Range->setText(QString::fromStdString(f.Range));
    m_Start->setText(QString::fromStdString(f.Start));
    m_Stop->setText(QString::fromStdString(f.Stop));
    m_Interval->setText(QString::fromStdString(f.Interval));
    (f.SpecificInterval ? m_SpecificInterval : m_OftenAsPossible)->setChecked(true);
    EnableInterval();
    m_PeakHold->setCurrentIndex(m_PeakHold->findData(static_cast<int>(f.PeakHold)));
}

PlotOptionsForm CPlotOptionsSpectrum::ReadForm() const
{
    PlotOptionsForm f;
    for (std::uint16_t t = 0; t < 3; ++t)
        if (m_PlotType[t]->isChecked())
            f.PlotType = t;
    f.GridX = m_GridX->isChecked();
    f.GridY = m_GridY->isChecked();
    f.ShowToolbar = m_ShowToolbar->isChecked();
    f.ShowOverlayControls = m_ShowOverlayControls->isChecked();
    f.GrabCursor = m_GrabCursor->isChecked();
    f.PowerMeter = m_PowerMeter->isChecked();
    for (std::size_t t = 0; t < m_Thick.size(); ++t)
        f.Thick[t] = m_Thick[t]->isChecked();
    f.Top = m_Top->text().toStdString();
    f.Range = m_Range->text().toStdString();
    f.Start = m_Start->text().toStdString();
    f.Stop = m_Stop->text().toStdString();
    f.SpecificInterval = m_SpecificInterval->isChecked();
    f.Interval = m_Interval->text().toStdString();
    f.PeakHold = static_cast<std::uint16_t>(std::max(0, m_PeakHold->currentData().toInt()));
    return f;
}

bool CPlotOptionsSpectrum::Validate()
{
    if (!m_Initialised)
        return true;
    const std::string message = plot_options::Validate(ReadForm(), m_AmpScale, *m_Spectrum);
    if (message.empty())
        return true;
    platform::ShowMessageBox(kMessageCaption, message, platform::MessageIcon::Error);
    return false;
}

void CPlotOptionsSpectrum::EnableInterval()
{
    const bool specific = m_SpecificInterval->isChecked();
    m_Interval->setEnabled(specific);
    m_IntervalSpin->setEnabled(specific);
}

void CPlotOptionsSpectrum::OnDefaults()
{
    PlotOptionsForm form = ReadForm();
    plot_options::ApplyDefaults(form, *m_Spectrum, m_Channel);
    // Defaults on a linear page leave its "N/A" range as it is.
    if (!m_Range->isEnabled())
        form.Range = m_Range->text().toStdString();
    WriteForm(form);
    m_RMSLevel->setChecked(false);
    PaintSwatches();
}

void CPlotOptionsSpectrum::OnMarkerOptions()
{
    TMarkerOptionsDialog dialog(this, m_Markers);
    dialog.exec();
}

std::uint32_t& CPlotOptionsSpectrum::ColourField(int which)
{
    switch (which) {
    case 0: return m_Spectrum->LineColor;
    case 1: return m_Spectrum->PeakColor;
    case 2: return m_Spectrum->BackgroundColor;
    case 3: return m_Spectrum->GridColor;
    default: return m_Spectrum->MarkerColor;
    }
}

void CPlotOptionsSpectrum::OnColour(int which)
{
    std::uint32_t& field = ColourField(which);
    if (const std::optional<std::uint32_t> chosen = m_ChooseColour(this, field)) {
        field = *chosen;
        PaintSwatches();
    }
}

void CPlotOptionsSpectrum::PaintSwatches()
{
    for (int c = 0; c < 5; ++c) {
        QLabel* swatch = m_Swatch[static_cast<std::size_t>(c)];
        QPalette palette = swatch->palette();
        palette.setColor(QPalette::Window, ToQColor(ColourField(c)));
        swatch->setPalette(palette);
    }
}

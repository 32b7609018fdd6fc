#include "settings/dialogs/CSettingsDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/MessageBox.h"
#include "platform/NumberText.h"
#include "settings/FloatFieldBounds.h"
#include "settings/dialogs/DialogIds.h"

namespace {

constexpr int kRates[] = {192000, 96000, 48000};
constexpr const char* kFreqItems[] = {"1/1 Octave", "1/3 Octave", "FFT Linear", "FFT Logarithmic"};
constexpr const char* kAmpItems[] = {"Linear", "Logarithmic", "Log Magnitude"};
constexpr const char* kWeightingItems[] = {"Flat (Linear)", "A", "B", "C"};
constexpr const char* kSpanTexts[] = {"Full Analyzer Frequency Span", "Spectrum Plot Displayed Frequency Span",
                                      "Custom Frequency Span:"};
// freq, amp, averaging, weighting, power weighting, 3 radios, start, stop, labels...
constexpr int kLeftIds[13] = {2181, 2129, 1307, 1308, 1309, 2296, 2297, 2298, 2299, 2300, 0, 0, 0};
constexpr int kRightIds[13] = {2184, 2130, 1310, 1311, 1312, 2301, 2302, 2303, 2304, 2305, 2322, 2323, 2324};

template <std::size_t N>
QComboBox* Combo(int id, const char* const (&items)[N])
{
    auto* box = WithId(new QComboBox, id);
    for (const char* item : items)
        box->addItem(QString::fromUtf8(item));
    return box;
}

QString SpanText(float hz)
{
    return QString::fromStdString(FloatFieldText(hz, 0));
}

} // namespace

CSettingsDlg::CSettingsDlg(ProcessingSheetRecords& records, QWidget* parent) : QWidget(parent), m_Records(records)
{
    setWindowTitle(tr("Settings"));
    auto* layout = new QVBoxLayout(this);

    auto* sampling = new QGroupBox(tr("Sampling"));
    auto* grid = new QGridLayout(sampling);
    m_Rate = WithId(new QComboBox, 2008);
    for (int rate : kRates)
        m_Rate->addItem(QString::number(rate), rate);
    m_Precision = WithId(new QComboBox, 2182);
    m_Precision->addItem(QStringLiteral("16 bits"), 2);
    m_Precision->addItem(QStringLiteral("24 bits"), 3);
    m_Channels = WithId(new QComboBox, 2183);
    m_Channels->addItem(QStringLiteral("1 Channel (Left)"), 1);
    m_Channels->addItem(QStringLiteral("2 Channels"), 2);
    grid->addWidget(new QLabel(tr("Sampling Rate (Hz):")), 0, 0);
    grid->addWidget(m_Rate, 0, 1);
    grid->addWidget(new QLabel(tr("Precision:")), 0, 2);
    grid->addWidget(m_Precision, 0, 3);
    grid->addWidget(new QLabel(tr("Channels:")), 0, 4);
    grid->addWidget(m_Channels, 0, 5);
    layout->addWidget(sampling);

    auto* channels = new QGridLayout;
    channels->addWidget(BuildChannel(0, kLeftIds), 0, 0);
    channels->addWidget(BuildChannel(1, kRightIds), 0, 1);
    layout->addLayout(channels);
    layout->addStretch(1);

    connect(m_Channels, &QComboBox::currentIndexChanged, this, [this] { UpdateChannelControls(); });
    LoadControls();
}

QWidget* CSettingsDlg::BuildChannel(int channel, const int ids[13])
{
    ChannelControls& c = m_Channel[channel];
    auto* box = new QGroupBox(channel == 0 ? tr("Left Channel") : QString());
    auto* grid = new QGridLayout(box);
    int row = 0;
    if (channel == 1) {
        c.labels.append(WithId(new QLabel(QStringLiteral("Right Channel")), ids[10]));
        grid->addWidget(c.labels.back(), row++, 0, 1, 2);
    }
    c.freqScale = Combo(ids[0], kFreqItems);
    c.ampScale = Combo(ids[1], kAmpItems);
    c.averaging = Combo(ids[2], kAverageSpeedNames);
    c.weighting = Combo(ids[3], kWeightingItems);
    c.powerWeighting = Combo(ids[4], kWeightingItems);
    const std::pair<QString, QWidget*> rows[] = {
        {tr("Frequency Scaling:"), c.freqScale}, {tr("Amplitude Scaling:"), c.ampScale},
        {tr("Averaging:"), c.averaging},         {tr("Weighting:"), c.weighting},
        {tr("Total Power Weighting:"), c.powerWeighting}};
    for (const auto& [text, widget] : rows) {
        auto* label = new QLabel(text);
        if (channel == 1)
            c.labels.append(label);
        grid->addWidget(label, row, 0);
        grid->addWidget(widget, row++, 1);
    }
    auto* span = new QGroupBox(tr("Utility Frequency Span"));
    auto* spanGrid = new QGridLayout(span);
    c.spanGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        c.span[i] = WithId(new QRadioButton(QString::fromUtf8(kSpanTexts[i])), ids[5 + i]);
        c.spanGroup->addButton(c.span[i], i);
        spanGrid->addWidget(c.span[i], i, 0, 1, 4);
    }
    c.start = WithId(new QLineEdit, ids[8]);
    c.stop = WithId(new QLineEdit, ids[9]);
    auto* startLabel = channel == 1 ? WithId(new QLabel(QStringLiteral("Start (Hz)")), ids[11])
                                    : new QLabel(QStringLiteral("Start (Hz)"));
    auto* stopLabel = channel == 1 ? WithId(new QLabel(QStringLiteral("Stop (Hz)")), ids[12])
                                   : new QLabel(QStringLiteral("Stop (Hz)"));
    if (channel == 1)
        c.labels << startLabel << stopLabel;
    spanGrid->addWidget(startLabel, 3, 0);
    spanGrid->addWidget(c.start, 3, 1);
    spanGrid->addWidget(stopLabel, 3, 2);
    spanGrid->addWidget(c.stop, 3, 3);
    grid->addWidget(span, row, 0, 1, 2);
    connect(c.spanGroup, &QButtonGroup::idClicked, this, [this] { UpdateChannelControls(); });
    return box;
}

void CSettingsDlg::LoadControls()
{
    const TProcessingSettings& p = m_Records.Processing;
    // A rate chosen on the status bar's menu is kept as it is: OK for another
    // change must not move the analysis to a rate nobody chose.
    const int current = static_cast<int>(p.Format.SamplingRate);
    if (m_Rate->findData(current) < 0 && current > 0)
        m_Rate->addItem(QString::number(current), current);
    const int rate = m_Rate->findData(current);
    m_Rate->setCurrentIndex(rate >= 0 ? rate : m_Rate->findData(48000));
    m_Precision->setCurrentIndex(p.Format.BitsPerSample == 16 ? 0 : p.Format.BitsPerSample == 24 ? 1 : -1);
    m_Channels->setCurrentIndex(p.Format.NumChannels == 2 ? 1 : 0);
    for (int ch = 0; ch < 2; ++ch) {
        const ScalingOpts& s = m_Records.Scaling[ch];
        ChannelControls& c = m_Channel[ch];
        c.freqScale->setCurrentIndex(processing_sheet::FreqScaleItem(s));
        c.ampScale->setCurrentIndex(s.AmpScaleType < 3 ? s.AmpScaleType : 0);
        c.averaging->setCurrentIndex(p.AverageSpeed[ch] < kAverageSpeedCount ? p.AverageSpeed[ch] : 0);
        c.weighting->setCurrentIndex(s.StandardWeighting < 4 ? s.StandardWeighting : 0);
        c.powerWeighting->setCurrentIndex(s.TotalPowerWeighting < 4 ? s.TotalPowerWeighting : 0);
        c.span[s.UtilityFreqSpanType < 3 ? s.UtilityFreqSpanType : 2]->setChecked(true);
        c.start->setText(SpanText(s.UtilityFreqCustomStart));
        c.stop->setText(SpanText(s.UtilityFreqCustomStop));
    }
    UpdateChannelControls();
}

void CSettingsDlg::UpdateChannelControls()
{
    const bool two = m_Channels->currentIndex() == 1;
    for (int ch = 0; ch < 2; ++ch) {
        ChannelControls& c = m_Channel[ch];
        const bool on = ch == 0 || two;
        for (QWidget* w : {static_cast<QWidget*>(c.freqScale), static_cast<QWidget*>(c.ampScale),
                           static_cast<QWidget*>(c.averaging), static_cast<QWidget*>(c.weighting),
                           static_cast<QWidget*>(c.powerWeighting)})
            w->setEnabled(on);
        for (QRadioButton* r : c.span)
            r->setEnabled(on);
        for (QLabel* l : c.labels)
            l->setEnabled(on);
        const bool custom = on && c.span[2]->isChecked();
        c.start->setEnabled(custom);
        c.stop->setEnabled(custom);
    }
}

bool CSettingsDlg::ApplyChannel(int ch)
{
    ChannelControls& c = m_Channel[ch];
    ScalingOpts& s = m_Records.Scaling[ch];
    processing_sheet::SetFreqScaleItem(s, c.freqScale->currentIndex());
    s.AmpScaleType = static_cast<std::uint16_t>(std::max(c.ampScale->currentIndex(), 0));
    m_Records.Processing.AverageSpeed[ch] = static_cast<std::uint16_t>(std::max(c.averaging->currentIndex(), 0));
    s.StandardWeighting = static_cast<std::uint16_t>(std::max(c.weighting->currentIndex(), 0));
    s.TotalPowerWeighting = static_cast<std::uint16_t>(std::max(c.powerWeighting->currentIndex(), 0));
    s.UtilityFreqSpanType = static_cast<std::uint16_t>(std::max(c.spanGroup->checkedId(), 0));
    if (!c.span[2]->isChecked())
        return true;
    const float start = ToFloatField(platform::ParseFloatPrefix(c.start->text().left(80).toStdString()));
    const float stop = ToFloatField(platform::ParseFloatPrefix(c.stop->text().left(80).toStdString()));
    if (const auto failure = processing_sheet::CheckCustomSpan(start, stop, ch)) {
        platform::ShowMessageBox(*failure, platform::MessageIcon::Error);
        return false;
    }
    s.UtilityFreqCustomStart = start;
    s.UtilityFreqCustomStop = stop;
    return true;
}

bool CSettingsDlg::ApplySettings()
{
    TProcessingSettings& p = m_Records.Processing;
    const auto rate = static_cast<std::uint32_t>(platform::ParseIntegerPrefix(m_Rate->currentText().toStdString()));
    const std::uint16_t bytes = m_Precision->currentIndex() == 1 ? 3 : 2;
    const std::uint16_t channels = m_Channels->currentIndex() == 1 ? 2 : 1;
    p.Format.Set(rate, channels, bytes);
    p.ChannelProcessing = channels == 2 ? 2 : 0;
    p.FFTsize = 65536;
    if (!ApplyChannel(0))
        return false;
    return channels == 1 || ApplyChannel(1);
}

void CSettingsDlg::ResetDefaults()
{
    processing_sheet::ResetSettingsDefaults(m_Records);
    LoadControls();
}

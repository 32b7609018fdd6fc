#include "settings/dialogs/CDeviceDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "settings/dialogs/DialogIds.h"

namespace {

struct RangeItem {
    const char* text;
    int gain;
};
constexpr RangeItem kRanges[] = {
    {"+/-10 Volts (17 dBVrms)", 1},
    {"+/-2.5 Volts (5 dBVrms)", 4},
    {"+/-625 mVolts (53 dBmVrms)", 16},
    {"+/-156 mVolts (41 dBmVrms)", 64},
};

// The module needs this long after a fresh USB session before it answers.
constexpr int kReopenSettleMs = 1500;
// Device notices come in bursts; the page waits for this much quiet, then
// gives the system this long to settle before it opens the module.
constexpr int kDeviceQuietMs = 1500;
constexpr int kDeviceSettleMs = 500;

} // namespace

CDeviceDlg::CDeviceDlg(ProcessingSheetRecords& records, ProcessingSheetServices& services, QWidget* parent)
    : QWidget(parent), m_Records(records), m_Services(services)
{
    setWindowTitle(tr("Device"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Talvenor DAQ module"));
    auto* box = new QVBoxLayout(group);
    m_Status = WithId(new QLabel(QStringLiteral("Talvenor DAQ Status")), 2278);
    m_Serial = WithId(new QLabel(QStringLiteral("Talvenor DAQ Serial Number:")), 2277);
    m_RangeLabel = WithId(new QLabel(QStringLiteral("Voltage Range:")), 2275);
    m_Range = WithId(new QComboBox, 1317);
    for (const RangeItem& item : kRanges)
        m_Range->addItem(QString::fromUtf8(item.text), item.gain);
    auto* hint = WithId(new QLabel(QStringLiteral("+/-625 mVolts  is the recommended value")), 2276);
    m_IepeLeft = WithId(new QCheckBox(QStringLiteral("Enable IEPE transducer power Left")), 2156);
    m_IepeRight = WithId(new QCheckBox(QStringLiteral("Enable IEPE transducer power Right")), 2157);
    m_LowPower = WithId(new QCheckBox(QStringLiteral("Put Talvenor DAQ into low power mode when program closes")), 2313);
    m_Refresh = WithId(new QPushButton(QStringLiteral("Refresh...")), 2305);
    for (QWidget* w : {static_cast<QWidget*>(m_Status), static_cast<QWidget*>(m_Serial),
                       static_cast<QWidget*>(m_RangeLabel), static_cast<QWidget*>(m_Range),
                       static_cast<QWidget*>(hint), static_cast<QWidget*>(m_IepeLeft),
                       static_cast<QWidget*>(m_IepeRight), static_cast<QWidget*>(m_LowPower)})
        box->addWidget(w);
    box->addWidget(m_Refresh, 0, Qt::AlignLeft);
    layout->addWidget(group);
    layout->addStretch(1);

    connect(m_Refresh, &QPushButton::clicked, this, [this] {
        m_Services.ReopenDaq();
        m_Refresh->setEnabled(false);
        // Waits without holding the GUI; the button says a refresh is under way.
        QTimer::singleShot(kReopenSettleMs, this, [this] {
            m_Refresh->setEnabled(true);
            UpdateDeviceStatus();
        });
    });
    m_DeviceTimer = new QTimer(this);
    m_DeviceTimer->setSingleShot(true);
    connect(m_DeviceTimer, &QTimer::timeout, this, [this] {
        QTimer::singleShot(kDeviceSettleMs, this, [this] {
            m_Services.ReopenDaq();
            UpdateDeviceStatus();
        });
    });
    LoadControls();
}

void CDeviceDlg::OnDeviceChange()
{
    m_DeviceTimer->start(kDeviceQuietMs);
}

void CDeviceDlg::LoadControls()
{
    const int item = m_Range->findData(static_cast<int>(m_Records.Daq.DAQ_InputGain));
    m_Range->setCurrentIndex(item >= 0 ? item : 0);
    m_IepeLeft->setChecked(m_Records.Daq.DAQ_IEPE_Left != 0);
    m_IepeRight->setChecked(m_Records.Daq.DAQ_IEPE_Right != 0);
    m_LowPower->setChecked(m_Records.Daq.DAQ_PowerDownFlag != 0);
    UpdateDeviceStatus();
}

void CDeviceDlg::UpdateDeviceStatus()
{
    const bool found = m_Services.FindDaqInputDevice().has_value();
    m_Status->setText(found ? QStringLiteral("Device Status: DAQ connected")
                            : QStringLiteral("Device Status: DAQ is NOT connected"));
    if (found) {
        const std::uint32_t serial = m_Services.ReadDaqSerialNumber();
        m_Serial->setText(serial != 0 ? QStringLiteral("Serial Number: %1").arg(serial)
                                      : QStringLiteral("Serial Number: N/A"));
    }
    for (QWidget* w : {static_cast<QWidget*>(m_Serial), static_cast<QWidget*>(m_Range),
                       static_cast<QWidget*>(m_RangeLabel), static_cast<QWidget*>(m_IepeLeft),
                       static_cast<QWidget*>(m_IepeRight)})
        w->setVisible(found);
    // Without a module OK keeps the page's options as they are, so the
    // low-power choice would not act: greyed, as the module is not there.
    m_LowPower->setEnabled(found);
}

bool CDeviceDlg::ApplySettings()
{
    if (!m_Services.FindDaqInputDevice())
        return true;
    m_Records.Daq.DAQ_InputGain = static_cast<std::uint16_t>(m_Range->currentData().toInt());
    m_Records.Daq.DAQ_IEPE_Left = m_IepeLeft->isChecked() ? 1 : 0;
    m_Records.Daq.DAQ_IEPE_Right = m_IepeRight->isChecked() ? 1 : 0;
    m_Records.Daq.DAQ_PowerDownFlag = m_LowPower->isChecked() ? 1 : 0;
    return true;
}

void CDeviceDlg::ResetDefaults()
{
    m_Range->setCurrentIndex(2);
    m_IepeLeft->setChecked(true);
    m_IepeRight->setChecked(true);
    m_LowPower->setChecked(true);
    UpdateDeviceStatus();
}

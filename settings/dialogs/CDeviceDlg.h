#pragma once
// The "Device" page of the processing-settings sheet: the DAQ module's
// status and serial number, its input range, sensor power per channel and
// its low-power state at exit.

#include <QWidget>

#include "settings/ProcessingSheet.h"
#include "settings/ProcessingSheetServices.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

class CDeviceDlg : public QWidget {
    Q_OBJECT

public:
    CDeviceDlg(ProcessingSheetRecords& records, ProcessingSheetServices& services, QWidget* parent = nullptr);

    // Never fails; without a module the copies stay as they are.
    bool ApplySettings();
    void ResetDefaults();
    void UpdateDeviceStatus();
    void LoadControls();
    // A device came or went: the module is opened afresh once the notices
    // have been quiet for a moment.
    void OnDeviceChange();

private:
    ProcessingSheetRecords& m_Records;
    ProcessingSheetServices& m_Services;
    QLabel* m_Status = nullptr;
    QLabel* m_Serial = nullptr;
    QComboBox* m_Range = nullptr;
    QLabel* m_RangeLabel = nullptr;
    QCheckBox* m_IepeLeft = nullptr;
    QCheckBox* m_IepeRight = nullptr;
    QCheckBox* m_LowPower = nullptr;
    QPushButton* m_Refresh = nullptr;
    QTimer* m_DeviceTimer = nullptr;
};

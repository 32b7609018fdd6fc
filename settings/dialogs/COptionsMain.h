#pragma once
// The "Processing Settings" sheet: the Settings, Calibration and Device
// pages over copies of the frame's records. OK checks the pages in that
// order and shows the first that fails; the caller copies back on Accepted.

#include <QDialog>

#include "settings/ProcessingSheet.h"
#include "settings/ProcessingSheetServices.h"

class CCalibrationDlgSPL;
class CDeviceDlg;
class CSettingsDlg;
class QTabWidget;

class COptionsMain : public QDialog {
    Q_OBJECT

public:
    // startPage: 0 Settings, 1 Calibration, 2 Device, −1 the page of the
    // last OK.
    COptionsMain(ProcessingSheetRecords& records, ProcessingSheetServices& services, int startPage,
                 QWidget* parent = nullptr);

    CSettingsDlg& SettingsPage() { return *m_Settings; }
    CCalibrationDlgSPL& CalibrationPage() { return *m_Calibration; }
    CDeviceDlg& DevicePage() { return *m_Device; }
    QTabWidget& Pages() { return *m_Pages; }
    int ActivePage() const;

    void accept() override;
    void reject() override;

private:
    // Leaving a page applies it; a page that fails keeps the focus.
    void OnPageChanging(int newPage);
    bool ApplyPage(int page);
    void OnDefaults();

    ProcessingSheetServices& m_Services;
    QTabWidget* m_Pages = nullptr;
    CSettingsDlg* m_Settings = nullptr;
    CCalibrationDlgSPL* m_Calibration = nullptr;
    CDeviceDlg* m_Device = nullptr;
    int m_Current = 0;
    bool m_Switching = false;
};

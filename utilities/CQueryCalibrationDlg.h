#pragma once
// Asked when a wave file without calibration is opened while calibration is
// on: go on with the current calibration, or switch it off.

#include <QDialog>

class CQueryCalibrationDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kContinueId = 2261;
    static constexpr int kDisableId = 2262;
    static constexpr const char* kText = "The wave file does not contain calibration data. What do you want to do?";

    // result: set true by Disable, false by Continue; other ways of
    // closing leave it as the caller set it.
    CQueryCalibrationDlg(QWidget* parent, bool* result);
};

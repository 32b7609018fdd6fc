#pragma once
// The "Calibration" page of the processing-settings sheet: per channel, a
// calibrator measurement (a ten-second recording) or a transducer's
// sensitivity, and the channel's title.

#include <QTimer>
#include <QWidget>

#include <memory>

#include "settings/ProcessingSheet.h"
#include "settings/ProcessingSheetServices.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

class CCalibrationDlgSPL : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRecordSeconds = 10;
    static constexpr const char* kPerformText = "Perform Calibration (approximately 10 seconds)";
    static constexpr const char* kAbortText = "Abort Calibration...";

    CCalibrationDlgSPL(ProcessingSheetRecords& records, ProcessingSheetServices& services, QWidget* parent = nullptr);
    ~CCalibrationDlgSPL() override;

    bool ApplyCalibration();
    void ResetDefaults();
    void LoadControls();
    void UpdateControls();
    void StartCalibration(int channel);
    void AbortCalibration();
    bool IsRecording() const { return m_Recording; }

private:
    struct ChannelControls {
        QRadioButton* method[4] = {};
        QButtonGroup* group = nullptr;
        QLabel* caption = nullptr;
        QLineEdit* value = nullptr;
        QPushButton* perform = nullptr;
        QProgressBar* progress = nullptr;
        QLineEdit* title = nullptr;
        QList<QLabel*> labels;
        // The value field's text of each method, and the method it shows.
        QString valueText[4];
        int shown = -1;
    };

    QWidget* BuildChannel(int channel);
    void ShowMethodValue(int channel, int method);
    void OnTimer();
    void FinishRecording();
    void EvaluateCalibration();
    // Back to idle after a recording that cannot go on, saying why.
    void FailRecording(const std::string& message);
    std::optional<float> InputRange() const;
    float EditedRange() const;

    ProcessingSheetRecords& m_Records;
    ProcessingSheetServices& m_Services;
    ChannelControls m_Channel[2];
    std::unique_ptr<CalibrationRecorder> m_Recorder;
    QTimer m_Timer;
    int m_Calibrating = 0;
    bool m_Recording = false;
    bool m_Loading = true;
    double m_LastSeconds = 0.0;
    int m_StalledTicks = 0;
};

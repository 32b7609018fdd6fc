#pragma once
// The "Settings" page of the processing-settings sheet: sampling format,
// channel count, and per channel the frequency and amplitude scaling,
// averaging speed, weightings and the viewers' span.

#include <QWidget>

#include "settings/ProcessingSheet.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

class CSettingsDlg : public QWidget {
    Q_OBJECT

public:
    CSettingsDlg(ProcessingSheetRecords& records, QWidget* parent = nullptr);

    // True when the page's values are valid and written to the copies;
    // otherwise its message has been shown.
    bool ApplySettings();
    void ResetDefaults();
    void LoadControls();

private:
    struct ChannelControls {
        QComboBox* freqScale = nullptr;
        QComboBox* ampScale = nullptr;
        QComboBox* averaging = nullptr;
        QComboBox* weighting = nullptr;
        QComboBox* powerWeighting = nullptr;
        QRadioButton* span[3] = {};
        QButtonGroup* spanGroup = nullptr;
        QLineEdit* start = nullptr;
        QLineEdit* stop = nullptr;
        QList<QLabel*> labels;
    };

    QWidget* BuildChannel(int channel, const int ids[13]);
    void UpdateChannelControls();
    bool ApplyChannel(int channel);

    ProcessingSheetRecords& m_Records;
    QComboBox* m_Rate = nullptr;
    QComboBox* m_Precision = nullptr;
    QComboBox* m_Channels = nullptr;
    ChannelControls m_Channel[2];
};

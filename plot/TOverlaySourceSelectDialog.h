#pragma once
// "Select Data Source": whether a capture from the plot (a stored overlay,
// a copy of the trace, a relative calibration) takes the peak hold or the
// live spectrum. OK writes the caller's choice byte (1 peak hold, 0 live);
// Cancel leaves it, and the caller abandons its operation.

#include <QDialog>

#include <cstdint>

class QRadioButton;

class TOverlaySourceSelectDialog : public QDialog {
    Q_OBJECT

public:
    TOverlaySourceSelectDialog(QWidget* parent, std::uint8_t* choice);

    void accept() override;

    QRadioButton* PeakHoldButton() const { return m_PeakHold; }
    QRadioButton* SpectralButton() const { return m_Spectral; }

private:
    std::uint8_t* m_Choice;
    QRadioButton* m_PeakHold;
    QRadioButton* m_Spectral;
};

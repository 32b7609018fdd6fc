#pragma once
// "Marker Options": the eight frequency markers of one spectrum plot, each
// with its show box, frequency, label type and custom label, and whether the
// markers read the peak-hold trace. Edits the record in place on OK only.

#include <QDialog>

#include <array>

#include "plot/MarkerOptionsForm.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

class TMarkerOptionsDialog : public QDialog {
    Q_OBJECT

public:
    TMarkerOptionsDialog(QWidget* parent, MarkerOpts* opts);

    // Checks every row; the record is written only when all pass.
    void accept() override;

    // The controls, as the form reads them.
    MarkerOptionsForm ReadForm() const;
    QCheckBox* EnableBox(int row) const { return m_Rows[static_cast<std::size_t>(row)].Enable; }
    QLineEdit* FrequencyEdit(int row) const { return m_Rows[static_cast<std::size_t>(row)].Frequency; }
    QComboBox* LabelList(int row) const { return m_Rows[static_cast<std::size_t>(row)].Label; }
    QLineEdit* CustomEdit(int row) const { return m_Rows[static_cast<std::size_t>(row)].Custom; }
    QCheckBox* PeakHoldBox() const { return m_PeakHold; }

private:
    struct Row {
        QCheckBox* Enable = nullptr;
        QLineEdit* Frequency = nullptr;
        QComboBox* Label = nullptr;
        QLineEdit* Custom = nullptr;
    };

    void EnableRow(int row);

    MarkerOpts* m_Opts;
    std::array<Row, MarkerOpts::kMarkerCount> m_Rows;
    QCheckBox* m_PeakHold = nullptr;
};

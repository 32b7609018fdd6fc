#pragma once
// How many copies of the generator's signal a saved wave file holds, with
// the length that makes.

#include "utilities/CSigGenDialog.h"

class QComboBox;
class QLabel;
class TWaveData;

class CSaveSignalLengthDlg : public CSigGenDialog {
    Q_OBJECT

public:
    static constexpr int kMaxCopies = 20;

    // copies: in, the count to select (1 … 20); out on OK, the chosen count.
    CSaveSignalLengthDlg(QWidget* parent, const TWaveData* buffer, int* copies);

protected:
    bool OnOK() override;

private:
    void UpdateTotal();

    int* copies_;
    float seconds_;
    QComboBox* multiplier_;
    QLabel* total_;
};

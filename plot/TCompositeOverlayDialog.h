#pragma once
// "Composite Overlay Setup": overlay 7 of a pane is the average of the
// boxed overlays 1 … 6, or one overlay subtracted from another. Edits the
// caller's copy of the pane's setup on OK, after its checks.

#include "plot/overlay/TOverlayData.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QRadioButton;

class TCompositeOverlayDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 120;

    TCompositeOverlayDialog(QWidget* parent, CompositeSetup* setup, std::function<void(int)> help);

    void accept() override;

    QRadioButton* AverageButton() const { return m_Average; }
    QRadioButton* SubtractButton() const { return m_Subtract; }
    QCheckBox* AverageBox(int n) const { return m_Boxes[n]; }
    // "Subtract: [column 0] from [column 1]": column 0 picks the overlay
    // subtracted (DifferenceIndex2), column 1 the one it is subtracted from
    // (DifferenceIndex1).
    QRadioButton* ColumnButton(int column, int n) const { return m_Columns[column][n]; }

private:
    void EnableForType();

    CompositeSetup* m_Setup;
    std::function<void(int)> m_Help;
    QRadioButton* m_Average;
    QRadioButton* m_Subtract;
    std::array<QCheckBox*, 6> m_Boxes{};
    std::array<std::array<QRadioButton*, 6>, 2> m_Columns{};
};

#pragma once
// Common ground of the generator's modal dialogs: the OK / Cancel / Help
// row, OK that stays open when the dialog's checks refuse, and the edit
// fields the dialogs are made of. Each control's object name is its
// control id ("1890"), by which tests find it.

#include <QDialog>
#include <QString>

#include <cstddef>
#include <functional>
#include <string>

#include "platform/MessageBox.h"

class QBoxLayout;
class QCheckBox;
class QFormLayout;
class QGroupBox;
class QLayout;
class QLineEdit;
class QRadioButton;
class QWidget;

class CSigGenDialog : public QDialog {
    Q_OBJECT

public:
    using HelpHandler = std::function<void(int contextId)>;

    // The control id of every dialog's Help button.
    static constexpr int kHelpButtonId = 1001;

    // A help context of 0: no Help button.
    CSigGenDialog(QWidget* parent, const QString& caption, int helpContext);

    // Without a handler the Help button does nothing.
    void SetHelpHandler(HelpHandler handler) { helpHandler_ = std::move(handler); }
    int GetHelpContext() const { return helpContext_; }

    // Runs OnOK; closes with OK only when it accepts.
    void accept() override;

protected:
    // Reads every control, runs the checks, and stores the section only
    // when they pass; false keeps the dialog open.
    virtual bool OnOK() = 0;

    // Places the dialog's own controls above the button row.
    void SetContent(QLayout* content);

    // A refusal: the message with the program's caption; the dialog stays.
    static void Refuse(const std::string& message, platform::MessageIcon icon = platform::MessageIcon::Error);

    QLineEdit* MakeEdit(int id, const std::string& text);
    // A labelled row whose field sits at the right edge, so that the
    // fields of every form in a dialog line up.
    static void AddField(QFormLayout* form, const QString& label, QWidget* field);
    QRadioButton* MakeRadio(int id, const QString& caption);
    QCheckBox* MakeCheck(int id, const QString& caption);
    // A frame around a pair of exclusive choices, untitled unless given one.
    QGroupBox* MakeChoiceFrame(QRadioButton* first, QRadioButton* second, Qt::Orientation orientation,
                               const QString& title = {});

    // The edit's text as a buffer of bufferSize characters holds it.
    static std::int32_t ReadInteger(const QLineEdit* edit, std::size_t bufferSize);
    static float ReadReal(const QLineEdit* edit, std::size_t bufferSize);

private:
    void OnHelp();

    QBoxLayout* layout_;
    HelpHandler helpHandler_;
    int helpContext_;
};

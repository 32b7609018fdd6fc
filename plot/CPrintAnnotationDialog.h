#pragma once
// "Print Annotations and Margins": the printed pages' two title lines, their
// margins in inches and the comment block below the plot, edited in place
// in the frame's print options on OK; Cancel changes nothing.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
struct PrintOpts;

class CPrintAnnotationDialog : public QDialog {
    Q_OBJECT

public:
    CPrintAnnotationDialog(QWidget* parent, PrintOpts* options);

    QLineEdit* TitleEdit(int line) const { return line == 1 ? m_Title2 : m_Title1; }
    // 0 left, 1 right, 2 top, 3 bottom.
    QLineEdit* MarginEdit(int which) const { return m_Margins[which]; }
    QPlainTextEdit* CommentsEdit() const { return m_Comments; }
    QCheckBox* CommentBlockBox() const { return m_CommentBlock; }

public slots:
    void accept() override;

private:
    PrintOpts* m_Options;
    QLineEdit* m_Title1 = nullptr;
    QLineEdit* m_Title2 = nullptr;
    QLineEdit* m_Margins[4] = {};
    QPlainTextEdit* m_Comments = nullptr;
    QCheckBox* m_CommentBlock = nullptr;
};

#include "plot/CPrintAnnotationDialog.h"

#include "plot/PrintAnnotationFields.h"
#include "platform/MessageBox.h"
#include "platform/qt/Utf8LengthValidator.h"
#include "settings/PrintOpts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPrintAnnotationDialog::CPrintAnnotationDialog(QWidget* parent, PrintOpts* options)
    : QDialog(parent), m_Options(options)
{
    setWindowTitle(QStringLiteral("Print Annotations and Margins"));
    auto* layout = new QVBoxLayout(this);

    auto* titles = new QGroupBox(QStringLiteral("Annotation (centered above plot)"), this);
    auto* titleForm = new QFormLayout(titles);
    m_Title1 = new QLineEdit(titles);
    m_Title2 = new QLineEdit(titles);
    // The titles' fields hold 79 bytes of UTF-8.
    for (QLineEdit* title : {m_Title1, m_Title2})
        title->setValidator(new Utf8LengthValidator(static_cast<int>(PrintOpts::kAnnotationSize) - 1, title));
    titleForm->addRow(QStringLiteral("Title line 1:"), m_Title1);
    titleForm->addRow(QStringLiteral("Title line 2:"), m_Title2);
    layout->addWidget(titles);

    auto* margins = new QGroupBox(QStringLiteral("Margins (inches)"), this);
    auto* grid = new QGridLayout(margins);
    const char* names[4] = {"Left:", "Right:", "Top:", "Bottom:"};
    for (int i = 0; i < 4; ++i) {
        m_Margins[i] = new QLineEdit(margins);
        m_Margins[i]->setMaxLength(79);
        grid->addWidget(new QLabel(QString::fromUtf8(names[i]), margins), i / 2, (i % 2) * 2);
        grid->addWidget(m_Margins[i], i / 2, (i % 2) * 2 + 1);
    }
    layout->addWidget(margins);

    m_CommentBlock = new QCheckBox(QStringLiteral("Print comment section"), this);
    layout->addWidget(m_CommentBlock);
    layout->addWidget(new QLabel(QStringLiteral("Comments (10 lines maximum, shown below plot)"), this));
    m_Comments = new QPlainTextEdit(this);
    m_Comments->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_Comments);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPrintAnnotationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPrintAnnotationDialog::reject);
    layout->addWidget(buttons);

    if (m_Options == nullptr)
        return;
    const PrintAnnotationFields fields = AnnotationFieldsFrom(*m_Options);
    m_Title1->setText(QString::fromUtf8(fields.Title1));
    m_Title2->setText(QString::fromUtf8(fields.Title2));
    for (int i = 0; i < 4; ++i)
        m_Margins[i]->setText(QString::fromStdString(fields.Margins[static_cast<std::size_t>(i)]));
    m_Comments->setPlainText(QString::fromUtf8(fields.Comments));
    m_CommentBlock->setChecked(fields.CommentBlock);
}

void CPrintAnnotationDialog::accept()
{
    if (m_Options != nullptr) {
        PrintAnnotationFields fields;
        fields.Title1 = m_Title1->text().toStdString();
        fields.Title2 = m_Title2->text().toStdString();
        for (int i = 0; i < 4; ++i)
            fields.Margins[static_cast<std::size_t>(i)] = m_Margins[i]->text().toStdString();
        fields.Comments = m_Comments->toPlainText().toStdString();
        fields.CommentBlock = m_CommentBlock->isChecked();
        if (const std::string refusal = CheckAnnotationMargins(fields); !refusal.empty()) {
            platform::ShowMessageBox(refusal, platform::MessageIcon::Error);
            return;
        }
        ApplyAnnotationFields(fields, *m_Options);
    }
    QDialog::accept();
}

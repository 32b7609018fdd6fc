#include "app/CDataLogSetupDlg.h"

#include "platform/MessageBox.h"
#include "settings/TextField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

using namespace data_log_sheet;

QLineEdit* MakeEdit(QWidget* parent, const char* id, int width = 90)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(id);
    edit->setFixedWidth(width);
    return edit;
}

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

CDataLogSetupDlg::CDataLogSetupDlg(QWidget* parent, int channel, LoggingOpts* opts, std::string channelName,
                                   Actions actions)
    : QWidget(parent), m_Channel(channel), m_Opts(opts), m_ChannelName(std::move(channelName)),
      m_Actions(std::move(actions)), m_Enable(new QCheckBox("Enable Data Logging for this channel", this)),
      m_Interval(MakeEdit(this, "2314")), m_Start(MakeEdit(this, "2315")), m_Stop(MakeEdit(this, "2316")),
      m_Apply(new QCheckBox("Apply", this)), m_Level(MakeEdit(this, "2320")), m_Type(new QComboBox(this)),
      m_List(new QListWidget(this)), m_FileName(MakeEdit(this, "2317", 200)),
      m_SetFolder(new QPushButton("Set Data Logging Folder...", this)),
      m_OpenFolder(new QPushButton("Open Data Logging file folder", this)),
      m_ViewFile(new QPushButton("View Latest Log File", this))
{
    setObjectName(QStringLiteral("DataLogSetup%1").arg(channel));
    m_Enable->setObjectName("2156");
    m_Apply->setObjectName("2319");
    m_Type->setObjectName("2321");
    m_List->setObjectName("2318");
    m_SetFolder->setObjectName("4");
    m_OpenFolder->setObjectName("3");
    m_ViewFile->setObjectName("ViewLogFile");

    auto* interval = new QHBoxLayout;
    interval->addWidget(new QLabel("Logging Interval (seconds)", this));
    interval->addWidget(m_Interval);
    interval->addStretch(1);

    auto* span = new QGroupBox("Frequency Span", this);
    auto* spanGrid = new QGridLayout(span);
    spanGrid->addWidget(new QLabel("Start Frequency (Hz)", span), 0, 0);
    spanGrid->addWidget(m_Start, 0, 1);
    spanGrid->addWidget(new QLabel("Stop Frequency (Hz)", span), 1, 0);
    spanGrid->addWidget(m_Stop, 1, 1);
    spanGrid->setColumnStretch(2, 1);

    auto* threshold = new QGroupBox("Threshold Conditions", this);
    auto* thresholdGrid = new QGridLayout(threshold);
    thresholdGrid->addWidget(m_Apply, 0, 0);
    thresholdGrid->addWidget(new QLabel("Threshold Level", threshold), 0, 1, Qt::AlignRight);
    thresholdGrid->addWidget(m_Level, 0, 2);
    thresholdGrid->addWidget(new QLabel("Threshold Type - logging will occur if condition exceeded", threshold), 1, 0,
                             1, 3);
    thresholdGrid->addWidget(m_Type, 2, 0, 1, 3);

    auto* fileName = new QHBoxLayout;
    fileName->addWidget(new QLabel("Filename prefix (timestamp will be appended)", this));
    fileName->addWidget(m_FileName);

    auto* folders = new QHBoxLayout;
    folders->addWidget(m_SetFolder);
    folders->addWidget(m_OpenFolder);
    folders->addWidget(m_ViewFile);

    m_List->setMinimumHeight(120);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Enable);
    layout->addLayout(interval);
    layout->addWidget(span);
    layout->addWidget(threshold);
    layout->addWidget(new QLabel("Select one or more parameters to write to the data logging file", this));
    layout->addWidget(m_List, 1);
    layout->addLayout(fileName);
    layout->addLayout(folders);

    m_SetFolder->setEnabled(static_cast<bool>(m_Actions.setFolder));
    m_OpenFolder->setEnabled(static_cast<bool>(m_Actions.openFolder));
    m_ViewFile->setEnabled(static_cast<bool>(m_Actions.viewFile));
    connect(m_Enable, &QCheckBox::clicked, this, &CDataLogSetupDlg::EnableControls);
    connect(m_Apply, &QCheckBox::clicked, this, &CDataLogSetupDlg::OnApplyThreshold);
    connect(m_SetFolder, &QPushButton::clicked, this, [this] { m_Actions.setFolder(); });
    connect(m_OpenFolder, &QPushButton::clicked, this, [this] { m_Actions.openFolder(); });
    connect(m_ViewFile, &QPushButton::clicked, this, &CDataLogSetupDlg::OnViewFile);

    FillList();
    FillThresholdTypes();
    FillFields();
}

void CDataLogSetupDlg::FillList()
{
    m_List->clear();
    for (const Entry& row : kListRows) {
        auto* item = new QListWidgetItem(QString::fromUtf8(row.text), m_List);
        item->setData(Qt::UserRole, row.id);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(m_Opts->DataItem[row.id] ? Qt::Checked : Qt::Unchecked);
    }
}

void CDataLogSetupDlg::FillThresholdTypes()
{
    const QSignalBlocker quiet(m_Type);
    m_Type->clear();
    for (const Entry& entry : kThresholdTypes)
        m_Type->addItem(QString::fromUtf8(entry.text), entry.id);
    m_Type->setCurrentIndex(ThresholdEntryFor(m_Opts->ThresholdType));
}

void CDataLogSetupDlg::FillFields()
{
    m_Enable->setChecked(m_Opts->Enable != 0);
    if (TextFieldView(m_Opts->LogFileName).empty())
        SetTextField(m_Opts->LogFileName, m_ChannelName);
    m_FileName->setText(QString::fromStdString(std::string(TextFieldView(m_Opts->LogFileName))));
    m_Interval->setText(Text(FormatField(m_Opts->IntervalSecs, 2)));
    m_Apply->setChecked(m_Opts->bApplyThreshold != 0);
    m_Start->setText(Text(FormatField(m_Opts->StartFreq, 1)));
    m_Stop->setText(Text(FormatField(m_Opts->StopFreq, 1)));
    m_Level->setText(Text(FormatField(m_Opts->ThresholdLevel, 4)));
    EnableControls();
}

void CDataLogSetupDlg::StoreListChecks()
{
    for (int row = 0; row < m_List->count(); ++row) {
        const QListWidgetItem* item = m_List->item(row);
        const int id = item->data(Qt::UserRole).toInt();
        if (id >= 0 && id < static_cast<int>(LoggingOpts::kDataItemCount))
            m_Opts->DataItem[id] = item->checkState() == Qt::Checked ? 1 : 0;
    }
}

void CDataLogSetupDlg::EnableControls()
{
    const bool on = m_Enable->isChecked();
    if (on)
        FillList();
    else
        StoreListChecks();
    for (QWidget* control : {static_cast<QWidget*>(m_List), static_cast<QWidget*>(m_Interval),
                             static_cast<QWidget*>(m_Start), static_cast<QWidget*>(m_Stop),
                             static_cast<QWidget*>(m_Apply)})
        control->setEnabled(on);
    OnApplyThreshold();
}

void CDataLogSetupDlg::OnApplyThreshold()
{
    const bool on = m_Enable->isChecked() && m_Apply->isChecked();
    m_Level->setEnabled(on);
    m_Type->setEnabled(on);
}

bool CDataLogSetupDlg::Validate()
{
    PageInput input;
    input.enable = m_Enable->isChecked();
    input.fileName = m_FileName->text().toStdString();
    for (int row = 0; row < kListRowCount && row < m_List->count(); ++row)
        input.rowChecked[row] = m_List->item(row)->checkState() == Qt::Checked;
    input.interval = m_Interval->text().toStdString();
    input.start = m_Start->text().toStdString();
    input.stop = m_Stop->text().toStdString();
    input.applyThreshold = m_Apply->isChecked();
    input.level = m_Level->text().toStdString();
    input.thresholdEntry = m_Type->currentIndex();

    const Verdict verdict = data_log_sheet::Validate(input, *m_Opts);
    if (verdict.ok)
        return true;
    platform::ShowMessageBox(verdict.message, platform::MessageIcon::Error);
    QWidget* focus = nullptr;
    switch (verdict.field) {
    case Field::kFileName: focus = m_FileName; break;
    case Field::kList: focus = m_List; break;
    case Field::kInterval: focus = m_Interval; break;
    case Field::kStart: focus = m_Start; break;
    case Field::kStop: focus = m_Stop; break;
    case Field::kLevel: focus = m_Level; break;
    case Field::kNone: break;
    }
    if (focus != nullptr && focus->isEnabled())
        focus->setFocus();
    return false;
}

void CDataLogSetupDlg::SetDefaults()
{
    ApplyDefaults(m_Channel, m_ChannelName, *m_Opts);
    FillList();
    FillFields();
    // The box shows what OK will store: the defaults' threshold type.
    FillThresholdTypes();
}

void CDataLogSetupDlg::OnViewFile()
{
    const std::string stem = m_FileName->text().toStdString();
    m_Actions.viewFile(LatestLogFile(m_Actions.logFolder ? m_Actions.logFolder() : std::string(), stem));
}

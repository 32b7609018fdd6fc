#include "plot/TOverlayDialog.h"

#include "plot/PlotColours.h"
#include "plot/overlay/OverlayChecks.h"

#include "platform/MessageBox.h"
#include "platform/NumberText.h"
#include "platform/Paths.h"
#include "settings/DataPaths.h"
#include "settings/SpectrumOpts.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cstdio>

namespace {

constexpr const char* kFilter = "Overlay *.ovl; mic comp *.mic; Filter *.flt (*.ovl *.mic *.flt)";
constexpr std::uint32_t kDefaultColours[TOverlayDialog::kRows] = {0xFF0000, 0xAEAE00, 0x800080, 0xFF00FF,
                                                                  0x004080, 0x4080FF, 0x000000};
constexpr int kSpinStep = 1;

TOverlayDialog::FileChooser& Chooser()
{
    static TOverlayDialog::FileChooser chooser;
    return chooser;
}

QString RowLabel(int n)
{
    return n + 1 < TOverlayDialog::kRows ? QStringLiteral("%1.").arg(n + 1) : QStringLiteral("C");
}

QString DefaultLegend(int n)
{
    return n + 1 < TOverlayDialog::kRows ? QStringLiteral("Overlay %1").arg(n + 1) : QStringLiteral("Composite");
}

std::string Text(const QLineEdit* edit)
{
    return edit->text().toStdString();
}

QString OffsetText(float offset, int decimals)
{
    return QString::fromStdString(platform::FormatFixed(offset, decimals));
}

} // namespace

void TOverlayDialog::SetFileChooser(FileChooser chooser)
{
    Chooser() = std::move(chooser);
}

TOverlayDialog::TOverlayDialog(QWidget* parent, SpectrumOpts* options, std::string folder, int channel,
                               std::uint16_t freqScaleType, int pane, DataPaths* workingPaths,
                               std::function<void(int)> help)
    : QDialog(parent), m_Options(options), m_Folder(std::move(folder)), m_Channel(channel),
      m_FreqScaleType(freqScaleType), m_Pane(pane == 2 ? 2 : 1), m_WorkingPaths(workingPaths), m_Help(std::move(help))
{
    setWindowTitle(QStringLiteral("Overlay Options"));
    setModal(true);
    BuildRows();
}

void TOverlayDialog::BuildRows()
{
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    const auto heading = [this, grid](int column, int span, const char* text) {
        grid->addWidget(new QLabel(QString::fromLatin1(text), this), 0, column, 1, span, Qt::AlignHCenter);
    };
    heading(1, 1, "Legend");
    heading(2, 2, "Offset (dB)");
    heading(4, 2, "Disk Storage");
    heading(6, 2, "Trace Color");

    for (int n = 0; n < kRows; ++n) {
        const int row = n + 1;
        grid->addWidget(new QLabel(RowLabel(n), this), row, 0);
        m_Legend[n] = new QLineEdit(this);
        m_Legend[n]->setMaxLength(static_cast<int>(overlay_text::kTitleMax));
        m_Legend[n]->setFixedWidth(170);
        const std::string path = overlay_slots::SlotReadPath(m_Folder, m_Channel, m_Pane, n);
        m_Legend[n]->setText(QString::fromStdString(m_Folder.empty() ? std::string() : overlay_slots::ReadTitle(path)));
        grid->addWidget(m_Legend[n], row, 1);

        m_Offset[n] = new QLineEdit(OffsetText(PaneOffset(n), 2), this);
        m_Offset[n]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_Offset[n]->setFixedWidth(64);
        grid->addWidget(m_Offset[n], row, 2);
        // The spinner's arrows step the offset: up adds a decibel.
        m_Spin[n] = new QScrollBar(Qt::Vertical, this);
        m_Spin[n]->setRange(-1, 1);
        m_Spin[n]->setValue(0);
        m_Spin[n]->setFixedSize(14, m_Offset[n]->sizeHint().height());
        connect(m_Spin[n], &QScrollBar::actionTriggered, this, [this, n](int action) {
            if (action == QAbstractSlider::SliderSingleStepSub)
                StepOffset(n, kSpinStep);
            else if (action == QAbstractSlider::SliderSingleStepAdd)
                StepOffset(n, -kSpinStep);
            m_Spin[n]->setSliderPosition(0);
        });
        grid->addWidget(m_Spin[n], row, 3);

        m_Save[n] = new QPushButton(QStringLiteral("Save..."), this);
        m_Load[n] = new QPushButton(QStringLiteral("Load..."), this);
        m_Change[n] = new QPushButton(QStringLiteral("Change..."), this);
        for (QPushButton* b : {m_Save[n], m_Load[n], m_Change[n]})
            b->setAutoDefault(false);
        connect(m_Save[n], &QPushButton::clicked, this, [this, n] { OnSave(n); });
        connect(m_Load[n], &QPushButton::clicked, this, [this, n] { OnLoad(n); });
        connect(m_Change[n], &QPushButton::clicked, this, [this, n] { OnChangeColour(n); });
        grid->addWidget(m_Save[n], row, 4);
        grid->addWidget(m_Load[n], row, 5);
        grid->addWidget(m_Change[n], row, 6);
        m_Swatch[n] = new QLabel(this);
        m_Swatch[n]->setFixedSize(36, 18);
        m_Swatch[n]->setAutoFillBackground(true);
        m_Swatch[n]->setFrameShape(QFrame::Box);
        PaintSwatch(n);
        grid->addWidget(m_Swatch[n], row, 7);
    }
    layout->addLayout(grid);

    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(new QLabel(QStringLiteral("Legend Display Size (characters)"), this));
    m_LegendSize = new QLineEdit(QString::number(m_Options->OverlayLegendSize), this);
    m_LegendSize->setFixedWidth(48);
    m_LegendSize->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sizeRow->addWidget(m_LegendSize);
    sizeRow->addStretch();
    layout->addLayout(sizeRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help,
                                         this);
    m_Defaults = buttons->addButton(QStringLiteral("Defaults"), QDialogButtonBox::ResetRole);
    connect(m_Defaults, &QPushButton::clicked, this, &TOverlayDialog::OnDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &TOverlayDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TOverlayDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
        if (m_Help)
            m_Help(kHelpContext);
    });
    layout->addWidget(buttons);
}

std::uint8_t& TOverlayDialog::ShowFlag(int n)
{
    SpectrumOverlayEntry& entry = m_Options->Overlay[n];
    return m_Pane == 2 ? entry.Show2 : entry.Show1;
}

float& TOverlayDialog::PaneOffset(int n)
{
    SpectrumOverlayEntry& entry = m_Options->Overlay[n];
    return m_Pane == 2 ? entry.Offset2 : entry.Offset1;
}

void TOverlayDialog::PaintSwatch(int n)
{
    QPalette palette = m_Swatch[n]->palette();
    palette.setColor(QPalette::Window, ColorFromRef(m_Options->Overlay[n].Color));
    m_Swatch[n]->setPalette(palette);
}

void TOverlayDialog::StepOffset(int n, float step)
{
    const float value = overlay_checks::OffsetOf(Text(m_Offset[n])) + step;
    const float limit = overlay_checks::kOffsetLimit;
    m_Offset[n]->setText(OffsetText(std::max(-limit, std::min(limit, value)), 1));
}

QString TOverlayDialog::ChooseFile(bool save)
{
    const QString start = m_WorkingPaths != nullptr
                              ? QString::fromUtf8(m_WorkingPaths->Get(DataPaths::kOverlay).data(),
                                                  static_cast<qsizetype>(m_WorkingPaths->Get(DataPaths::kOverlay).size()))
                              : QString::fromStdString(m_Folder);
    QString chosen;
    if (Chooser()) {
        chosen = Chooser()(this, save, start);
    } else if (save) {
        chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Save Overlay File"), start + "/*.ovl",
                                              QString::fromLatin1(kFilter));
    } else {
        chosen = QFileDialog::getOpenFileName(this, QStringLiteral("Load Overlay File"), start,
                                              QString::fromLatin1(kFilter));
    }
    if (!chosen.isEmpty() && save && QFileInfo(chosen).suffix().isEmpty()) {
        // The file dialog asked about the name as typed, not about this one.
        chosen += QStringLiteral(".ovl");
        if (QFileInfo::exists(chosen) &&
            platform::ShowMessageBox(QStringLiteral("Save Overlay File").toStdString(),
                                     "\"" + chosen.toStdString() + "\" already exists.\nDo you want to replace it?",
                                     platform::MessageIcon::Warning,
                                     platform::MessageButtons::YesNo) != platform::MessageResult::Yes)
            return {};
    }
    if (!chosen.isEmpty() && m_WorkingPaths != nullptr)
        m_WorkingPaths->Set(DataPaths::kOverlay, StripFileName(chosen.toStdString()));
    return chosen;
}

bool TOverlayDialog::FolderUsable() const
{
    // An empty folder would put the slot files wherever the program was
    // started: refused with the missing folder's message, as a store is.
    return !m_Folder.empty() || FolderExists(m_Folder.c_str(), 1);
}

void TOverlayDialog::OnLoad(int n)
{
    if (!FolderUsable())
        return;
    const QString chosen = ChooseFile(false);
    if (chosen.isEmpty())
        return;
    std::string title;
    std::string reason;
    if (!overlay_slots::ImportFile(chosen.toStdString(), m_Folder, m_Channel, m_Pane, n, m_FreqScaleType, title,
                                   reason)) {
        platform::ShowMessageBox(reason + " Overlay " + RowLabel(n).remove('.').toStdString() + " is unchanged.",
                                 platform::MessageIcon::Error);
        return;
    }
    m_Legend[n]->setText(QString::fromStdString(title));
    m_Offset[n]->setText(QStringLiteral("0.0"));
    ShowFlag(n) = 1;
}

void TOverlayDialog::OnSave(int n)
{
    if (!FolderUsable())
        return;
    const QString chosen = ChooseFile(true);
    if (chosen.isEmpty())
        return;
    std::string reason;
    if (!overlay_slots::ExportFile(m_Folder, m_Channel, m_Pane, n, chosen.toStdString(), Text(m_Legend[n]), reason))
        platform::ShowMessageBox("The overlay could not be saved to \"" + chosen.toStdString() + "\". " + reason,
                                 platform::MessageIcon::Error);
}

void TOverlayDialog::OnChangeColour(int n)
{
    const QColor chosen = QColorDialog::getColor(ColorFromRef(m_Options->Overlay[n].Color), this,
                                                 QStringLiteral("Trace Color"));
    if (!chosen.isValid())
        return;
    m_Options->Overlay[n].Color = static_cast<std::uint32_t>(chosen.red()) |
                                  static_cast<std::uint32_t>(chosen.green()) << 8 |
                                  static_cast<std::uint32_t>(chosen.blue()) << 16;
    PaintSwatch(n);
}

void TOverlayDialog::OnDefaults()
{
    for (int n = 0; n < kRows; ++n) {
        m_Legend[n]->setText(DefaultLegend(n));
        m_Options->Overlay[n].Color = kDefaultColours[n];
        PaintSwatch(n);
        m_Offset[n]->setText(QStringLiteral("0.0"));
    }
    m_LegendSize->setText(QStringLiteral("8"));
}

void TOverlayDialog::accept()
{
    // Every check first: a refused OK or a later Cancel leaves the files
    // as they were.
    const int legendSize = overlay_checks::LegendSizeOf(Text(m_LegendSize));
    std::string refusal = overlay_checks::CheckLegendSize(legendSize);
    std::array<float, kRows> offsets{};
    for (int n = 0; n < kRows && refusal.empty(); ++n) {
        offsets[n] = overlay_checks::OffsetOf(Text(m_Offset[n]));
        refusal = overlay_checks::CheckOffset(offsets[n]);
        if (!refusal.empty())
            m_Offset[n]->setFocus();
    }
    if (!refusal.empty()) {
        platform::ShowMessageBox(refusal, platform::MessageIcon::Error);
        return;
    }
    m_Options->OverlayLegendSize = static_cast<std::uint16_t>(legendSize);
    // Only the title lines change; a file that cannot be kept whole is left
    // as it was, and the operator is told which.
    std::string kept;
    bool typed = false;
    for (int n = 0; n < kRows; ++n)
        typed = typed || !m_Legend[n]->text().isEmpty();
    // Without a folder the legends have nowhere to go: said as a store says it.
    if (m_Folder.empty() && typed)
        FolderUsable();
    for (int n = 0; n < kRows; ++n) {
        PaneOffset(n) = offsets[n];
        std::string reason;
        if (!m_Folder.empty() && !overlay_slots::Retitle(m_Folder, m_Channel, m_Pane, n, Text(m_Legend[n]), reason))
            kept += "\n" + reason;
    }
    if (!kept.empty())
        platform::ShowMessageBox("These legends could not be stored as titles:" + kept, platform::MessageIcon::Warning);
    QDialog::accept();
}

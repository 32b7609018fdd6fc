// The spectrum plot's right-button menus and what they copy and write: the
// visible spectrum as text (clipboard with the "Link" data, or a text file),
// the plot as a bitmap, and the measurement cursor's values.
#include "plot/TQuarnPlot.h"

#include "plot/SpectrumExport.h"

#include "engine/SpectralData.h"
#include "settings/MarkerOpts.h"
#include "settings/SpectrumOpts.h"

#include "platform/AtomicFile.h"
#include "platform/MessageBox.h"
#include "platform/NumberText.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The private clipboard format other programs link to the spectrum with.
const QString kLinkMimeType = QStringLiteral("application/x-talvenor-link");

// Asked again at every export while peak hold is on; the answer is kept for
// the run of the program, apart from the overlay store's.
bool g_ExportFromHold = false;

struct MenuEntry {
    const char* Text;
    std::uint32_t Id;
};

constexpr MenuEntry kSetMarkerItems[] = {{"1", 811}, {"2", 812}, {"3", 813}, {"4", 814},
                                         {"5", 815}, {"6", 816}, {"7", 822}, {"8", 823}};
constexpr std::uint32_t kClearMarker1 = 851;
constexpr std::uint32_t kClearAllMarkers = 859;
constexpr std::uint32_t kDataValues = 804;
constexpr std::uint32_t kMarkerOptions = 860;
constexpr std::uint32_t kProperties = 1500;
constexpr std::uint32_t kHelp = 1501;
constexpr std::uint32_t kSmoothing1 = 830;
constexpr std::uint32_t kRelativeCalibration = 872;

constexpr const char* kSmoothingItems[] = {"1 Line (Off)", "3 Lines",  "5 Lines",  "7 Lines",
                                           "9 Lines",      "11 Lines", "13 Lines", "15 Lines"};

std::optional<bool> AskSource(QWidget* parent, bool fromHold)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Select Data Source"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* hold = new QRadioButton(QStringLiteral("Peak Hold Data"), &dialog);
    auto* live = new QRadioButton(QStringLiteral("Spectral Data"), &dialog);
    (fromHold ? hold : live)->setChecked(true);
    layout->addWidget(hold);
    layout->addWidget(live);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return hold->isChecked();
}

std::string AskSaveFile(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Save Text File"), QString(), QStringLiteral("Text Files (*.txt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    // The name field starts with the pattern the user overwrites.
    dialog.selectFile(QStringLiteral("*.txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    // The pattern left as it started names no file.
    const QString chosen = dialog.selectedFiles().front();
    if (QFileInfo(chosen).fileName().contains(QLatin1Char('*')))
        return {};
    // The file system's own bytes, whatever the desktop's encoding.
    return QFile::encodeName(chosen).toStdString();
}

} // namespace

void TQuarnPlot::SetOwnerCommandEnabled(std::uint32_t id, bool enabled)
{
    if (enabled)
        m_OwnerCommands.insert(id);
    else
        m_OwnerCommands.erase(id);
}

void TQuarnPlot::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        TPlotBase::mousePressEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    OnContextMenu(p.x(), p.y());
}

void TQuarnPlot::OnContextMenu(int x, int y)
{
    const QPoint global = mapToGlobal(QPoint(x, y));
    if (Cursor().CursorShown()) {
        // A held cursor: copy what it reads, then let it go here.
        QMenu menu(this);
        connect(menu.addAction(QStringLiteral("Copy measurement cursor Values to clipboard")), &QAction::triggered,
                this, &TQuarnPlot::CopyCursorValues);
        connect(menu.addAction(QStringLiteral("Copy to clipboard as Bitmap")), &QAction::triggered, this,
                &TQuarnPlot::OnCopyBitmap);
        menu.exec(global);
        OnLButtonUp(Qt::NoModifier, x, y);
        return;
    }
    m_RightClick = {x, y};
    if (GetPlotRectAt(x, y).IsEmpty())
        return;

    QMenu menu(this);
    const auto add = [this](QMenu& into, const char* text, std::uint32_t id, bool enabled = true) {
        QAction* action = into.addAction(QString::fromLatin1(text));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, id] { emit Command(id); });
        return action;
    };
    const auto owner = [this](std::uint32_t id) { return m_OwnerCommands.count(id) != 0; };
    add(menu, "&Copy As Text", 802);
    add(menu, "Write to &Text File...", 1520);
    add(menu, "Copy As &Bitmap", 1502);
    menu.addSeparator();
    add(menu, "Clear &Spectrum", 818);
    add(menu, "Clear &Peak Hold", 819);
    add(menu, "&Autoscale Spectrum", 820);
    // One width at a time; greyed where the lines cannot be smoothed.
    QMenu* smoothing = menu.addMenu(QStringLiteral("Smoothing"));
    smoothing->setEnabled(CanSmooth());
    auto* widths = new QActionGroup(smoothing);
    for (std::uint32_t k = 0; k < std::size(kSmoothingItems); ++k) {
        QAction* width = add(*smoothing, kSmoothingItems[k], kSmoothing1 + k);
        width->setCheckable(true);
        width->setChecked(m_SmoothingWidth == 1 + 2 * static_cast<int>(k));
        widths->addAction(width);
    }
    menu.addSeparator();
    QAction* pull = add(menu, "Pull Cursor To Trace", 870);
    pull->setCheckable(true);
    pull->setChecked(m_Spectrum != nullptr && m_Spectrum->GrabCursorFlag != 0);
    // The level under the click becomes the channel's 0 dB; the owner does it.
    add(menu, "Set Relative Calibration", kRelativeCalibration, owner(kRelativeCalibration));
    menu.addSeparator();
    QMenu* set = menu.addMenu(QStringLiteral("Set Marker"));
    for (const MenuEntry& item : kSetMarkerItems)
        add(*set, item.Text, item.Id);
    QMenu* clear = menu.addMenu(QStringLiteral("Clear Marker"));
    for (int m = 0; m < static_cast<int>(MarkerOpts::kMarkerCount); ++m) {
        const bool on = m_Markers != nullptr && m_Markers->MarkerEnable[m] == 1;
        add(*clear, kSetMarkerItems[m].Text, kClearMarker1 + static_cast<std::uint32_t>(m), on);
    }
    add(*clear, "All", kClearAllMarkers);
    add(menu, "Marker &Options...", kMarkerOptions);
    menu.addSeparator();
    QAction* values = add(menu, "&View Data Values", kDataValues);
    values->setCheckable(true);
    values->setChecked(DataView() != nullptr);
    menu.addSeparator();
    add(menu, "&Properties", kProperties, owner(kProperties));
    add(menu, "&Help", kHelp, owner(kHelp));
    menu.exec(global);
}

spectrum_export::ExportRows TQuarnPlot::ExportRowsShown() const
{
    spectrum_export::ExportRows rows;
    rows.Trace1 = m_Trace1;
    rows.Trace2 = m_Trace2;
    rows.First = static_cast<std::uint32_t>(std::max(0, m_SpanStart));
    rows.Last = static_cast<std::uint32_t>(std::max(0, m_SpanEnd));
    return rows;
}

void TQuarnPlot::CopyAsText()
{
    if (m_Trace1 == nullptr || m_Spectrum == nullptr)
        return;
    bool fromHold = false;
    // Without peak hold the live data go out, and the next question starts there.
    if (m_Spectrum->PeakHold == 0) {
        g_ExportFromHold = false;
    } else {
        const SourceChooser chooser = m_SourceChooser ? m_SourceChooser : SourceChooser(AskSource);
        const std::optional<bool> answer = chooser(this, g_ExportFromHold);
        if (!answer)
            return;
        g_ExportFromHold = *answer;
        fromHold = *answer;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string text = spectrum_export::ClipboardText(ExportRowsShown(), fromHold);
    const auto link = spectrum_export::LinkBlock();
    auto* data = new QMimeData;
    data->setText(QString::fromStdString(text));
    data->setData(kLinkMimeType, QByteArray(link.data(), static_cast<qsizetype>(link.size())));
    clipboard->setMimeData(data);
    QApplication::restoreOverrideCursor();
}

void TQuarnPlot::WriteTextFile()
{
    if (m_Trace1 == nullptr)
        return;
    const SaveFileChooser chooser = m_SaveFileChooser ? m_SaveFileChooser : SaveFileChooser(AskSaveFile);
    const std::string path = chooser(this);
    if (path.empty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string text = spectrum_export::FileText(ExportRowsShown(), m_Channel);
    // A new file appears whole or not at all; an old one is kept on failure.
    const bool written = platform::WriteFileAtomically(path, text);
    QApplication::restoreOverrideCursor();
    if (!written)
        platform::ShowMessageBox("Spectrum Plot - Unable to write the text file " + path +
                                 ". Check that the folder exists and can be written to.");
}

void TQuarnPlot::OnCopyBitmap()
{
    // The corner buttons are the screen's, not the picture's.
    std::array<bool, 3> shown{};
    for (std::size_t i = 0; i < m_Corner.size(); ++i) {
        shown[i] = m_Corner[i] != nullptr && m_Corner[i]->isVisible();
        if (shown[i])
            m_Corner[i]->hide();
    }
    CopyToClipboard();
    for (std::size_t i = 0; i < m_Corner.size(); ++i)
        if (shown[i])
            m_Corner[i]->show();
}

void TQuarnPlot::CopyCursorValues()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return;
    const std::string text = "Freq=\t" + platform::FormatFixed(Cursor().CursorXValue(), 4) + "\r\nAmp=\t" +
                             platform::FormatFixed(Cursor().CursorYValue(), 4) + "\r\n";
    clipboard->setText(QString::fromStdString(text));
}

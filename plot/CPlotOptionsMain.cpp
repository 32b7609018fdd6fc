#include "plot/CPlotOptionsMain.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

CPlotOptionsMain::CPlotOptionsMain(QWidget* parent, int channels, int startPage, const std::array<Page, 2>& pages)
    : QDialog(parent), m_Tabs(new QTabWidget(this))
{
    setWindowTitle(QStringLiteral("Plot Options"));
    setObjectName(QStringLiteral("PlotOptions"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_Tabs);
    const int count = channels == 2 ? 2 : 1;
    for (int c = 0; c < count; ++c) {
        const Page& page = pages[static_cast<std::size_t>(c)];
        auto* widget = new CPlotOptionsSpectrum(m_Tabs, c, page.AmpScale, page.Spectrum, page.Markers);
        m_Pages[static_cast<std::size_t>(c)] = widget;
        const QString title = count == 1   ? QStringLiteral("Spectrum")
                              : c == 0     ? QStringLiteral("Spectrum - Left")
                                           : QStringLiteral("Spectrum - Right");
        m_Tabs->addTab(widget, title);
    }
    m_Tabs->setCurrentIndex(startPage == 1 && count == 2 ? 1 : 0);

    // The sheet has no Apply: changes reach the plots on OK only.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPlotOptionsMain::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPlotOptionsMain::reject);
    layout->addWidget(buttons);
}

void CPlotOptionsMain::SetColourChooser(const CPlotOptionsSpectrum::ColourChooser& chooser)
{
    for (CPlotOptionsSpectrum* page : m_Pages)
        if (page != nullptr)
            page->SetColourChooser(chooser);
}

void CPlotOptionsMain::SetHelpHandler(const CPlotOptionsSpectrum::HelpHandler& handler)
{
    for (CPlotOptionsSpectrum* page : m_Pages)
        if (page != nullptr)
            page->SetHelpHandler(handler);
}

int CPlotOptionsMain::PageCount() const
{
    return m_Tabs->count();
}

CPlotOptionsSpectrum* CPlotOptionsMain::SpectrumPage(int channel) const
{
    return channel == 0 || channel == 1 ? m_Pages[static_cast<std::size_t>(channel)] : nullptr;
}

bool CPlotOptionsMain::ValidateAndClose()
{
    for (CPlotOptionsSpectrum* page : m_Pages) {
        if (page == nullptr)
            continue;
        if (!page->Validate()) {
            m_Tabs->setCurrentWidget(page);
            return false;
        }
    }
    QDialog::accept();
    return true;
}

void CPlotOptionsMain::accept()
{
    ValidateAndClose();
}

#include "frm_config.h"
#include "layout_font.h"

#include "platform/serial_port.h"
#include "platform/gui/twips.h"
#include "numtext/number_text.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace {
constexpr int ClientWidth = 5460;
constexpr int ClientHeight = 1140;
constexpr int WhyHeight = 900;
const char *const NotFound = QT_TRANSLATE_NOOP("frmConfig", "Not found");
} // namespace

frmConfig::frmConfig(SerialPort &port, int configuredPort, CatalogSource catalog, PortStore store, const QString &why,
                     QWidget *parent)
    : QDialog(parent), m_port(port), m_chosen(configuredPort), m_catalog(std::move(catalog)), m_store(std::move(store))
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(tr("ComPort Setting"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    useLayoutFont(this);

    Label17 = new QLabel(tr("ComPort is selected, and ZX is connected."), this);
    Label17->setObjectName(QStringLiteral("Label17"));
    Label17->setWordWrap(true);
    twips::place(Label17, 180, 150, 3540, 390);

    Combo = new QComboBox(this);
    Combo->setObjectName(QStringLiteral("Combo"));
    twips::place(Combo, 3840, 165, 1440, 360);

    cmdOk = new QPushButton(tr("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    twips::place(cmdOk, 1080, 660, 1335, 375);

    CmdCancel = new QPushButton(tr("Cancel"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    twips::place(CmdCancel, 3900, 660, 1335, 375);

    int height = ClientHeight;
    if (!why.isEmpty()) {
        LblWhy = new QLabel(why, this);
        LblWhy->setObjectName(QStringLiteral("LblWhy"));
        LblWhy->setWordWrap(true);
        LblWhy->setTextInteractionFlags(Qt::TextSelectableByMouse);
        LblWhy->setFrameShape(QFrame::StyledPanel);
        LblWhy->setMargin(4);
        twips::place(LblWhy, 180, ClientHeight, ClientWidth - 360, WhyHeight);
        height += WhyHeight + 120;
    }
    setFixedSize(twips::toPixels(ClientWidth), twips::toPixels(height));

    connect(cmdOk, &QPushButton::clicked, this, &frmConfig::cmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &frmConfig::CmdCancel_Click);
    connect(Combo, &QComboBox::currentIndexChanged, this, &frmConfig::Combo_Click);
    // Load: the list is filled before the dialog first shows.
    ListComPorts();
}

void frmConfig::ListComPorts()
{
    const PortCatalog catalog = m_catalog ? m_catalog() : PortCatalog();
    // Filling the list must not count as a pick: adding the first entry makes it current
    // by itself, and only the configured port may be pre-selected.
    QSignalBlocker quiet(Combo);
    Combo->clear();
    int select = -1;
    for (int n = 1; n <= PortCatalog::MaxPort; ++n) {
        // A port that does not open (missing, in use, not allowed) is simply left out.
        const bool opens = m_port.open(n);
        m_port.close();
        if (!opens)
            continue;
        Combo->addItem(QStringLiteral("Com%1").arg(n));
        Combo->setItemData(Combo->count() - 1, tooltipFor(catalog, n), Qt::ToolTipRole);
        if (n == m_chosen)
            select = Combo->count() - 1;
    }
    m_port.close();
    if (Combo->count() == 0) {
        Combo->addItem(tr(NotFound));
        select = 0;
    }
    Combo->setCurrentIndex(-1);
    quiet.unblock();
    // Pre-selection runs Combo_Click like a user's pick, storing the same value again.
    if (select >= 0)
        Combo->setCurrentIndex(select);
}

QString frmConfig::tooltipFor(const PortCatalog &catalog, int number) const
{
    const auto entry = catalog.entry(number);
    if (!entry)
        return QString();
    if (entry->description.isEmpty())
        return entry->devicePath;
    return entry->devicePath + QStringLiteral(" \u2014 ") + entry->description;
}

void frmConfig::Combo_Click()
{
    QString text = Combo->currentText();
    if (!text.contains(QLatin1String("Com")))
        return;
    text.remove(QStringLiteral("Com"));
    const auto number = numtext::roundHalfEven(numtext::leadingNumber(text));
    if (number < 0 || number > PortCatalog::MaxPort)
        return; // the list holds only Com1..Com16; anything else is not ours to store
    m_chosen = int(number);
    if (m_store)
        m_store(m_chosen);
}

void frmConfig::cmdOk_Click()
{
    accept();
}

void frmConfig::CmdCancel_Click()
{
    reject();
}

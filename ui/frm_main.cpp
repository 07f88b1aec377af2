#include "frm_main.h"

#include "busy_indicator.h"
#include "command_button.h"
#include "command_button_panel.h"
#include "layout_font.h"
#include "logo_widget.h"
#include "message_line_edit.h"
#include "shape_led.h"

#include "link/serial_link.h"
#include "logdata/log_store.h"
#include "platform/serial_port.h"
#include "platform/gui/twips.h"
#include "editor/settings_editor.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

namespace {

// The three settings operations, a wider gap, then the two run-log operations.
constexpr std::array<int, FrmMain::CommandCount> CommandTops {240, 960, 1680, 2940, 3660};
constexpr int CommandLeft = 180;
constexpr int CommandWidth = 1575;
constexpr int CommandHeight = 495;

QLabel *label(QWidget *parent, const QString &text, const char *name, int l, int t, int w, int h)
{
    auto *lbl = new QLabel(text, parent);
    lbl->setObjectName(QString::fromLatin1(name));
    twips::place(lbl, l, t, w, h);
    return lbl;
}

} // namespace

FrmMain::FrmMain(SerialPort &MSComm, MessageBoxes &boxes, QWidget *parent) : QMainWindow(parent), m_MSComm(MSComm)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("ZX316B Link"));
    useLayoutFont(this);
    m_menu = MainMenu::build(menuBar());
    connect(m_menu.mnuEnd, &QAction::triggered, this, &QWidget::close);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);

    buildCommandButtons();
    buildStatusArea();

    // The hidden frame keeps fields the program fills and reads but the user never sees.
    m_fraTmp = new QFrame(m_client);
    m_fraTmp->setObjectName(QStringLiteral("FraTmp"));
    twips::place(m_fraTmp, 180, 5460, 6255, 2475);

    m_editor = new SettingsEditor(m_client, m_fraTmp, boxes, this);
    std::array<QAbstractButton *, CommandCount> buttons {};
    std::copy(m_cmdZxCom.begin(), m_cmdZxCom.end(), buttons.begin());
    m_buttons = std::make_unique<CommandButtonPanel>(
        buttons, [this] { return m_MSComm.isOpen(); }, [this] { return !m_editor->TxtData(0)->text().isEmpty(); });
    connect(m_editor, &SettingsEditor::writeAllowed, this,
            [this](bool allowed) { m_buttons->setWriteAllowed(allowed); });
    // The write button tells how many values it would change in the controller.
    auto *write = m_cmdZxCom[DeviceOperations::SettingDataWrite];
    write->setToolTip(ChangeMarks::writeButtonTip(0));
    connect(m_editor, &SettingsEditor::changesCounted, write,
            [write](int count) { write->setToolTip(ChangeMarks::writeButtonTip(count)); });
    setReadingOrder();

    resize(twips::toPixels(ClientWidth), twips::toPixels(DesignHeight) + menuBar()->sizeHint().height());
}

FrmMain::~FrmMain() = default;

void FrmMain::buildCommandButtons()
{
    for (int i = 0; i < CommandCount; ++i) {
        auto *b = new CommandButton(i, m_client);
        b->setObjectName(QStringLiteral("CmdZxCom_%1").arg(i));
        twips::place(b, CommandLeft, CommandTops[size_t(i)], CommandWidth, CommandHeight);
        connect(b, &QPushButton::clicked, this, [this, i] { Q_EMIT commandClicked(i); });
        m_cmdZxCom[size_t(i)] = b;
    }
}

// Tab follows the reading order: the buttons top to bottom, the settings top to bottom,
// then the message line.
void FrmMain::setReadingOrder()
{
    QList<QWidget *> order(m_cmdZxCom.begin(), m_cmdZxCom.end());
    order << m_editor->readingOrder() << m_txtMsg;
    for (qsizetype k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
}

void FrmMain::buildStatusArea()
{
    label(m_client, tr("Busy"), "LblBusy", 2340, 4080, 555, 195);
    m_shpLed = new ShapeLed(m_client);
    m_shpLed->setObjectName(QStringLiteral("ShpLED"));
    twips::place(m_shpLed, 2880, 4080, 255, 135);
    m_busy = new BusyIndicator(m_shpLed, this);

    m_imgLogo = new LogoWidget(m_client);
    m_imgLogo->setObjectName(QStringLiteral("ImgLogo"));
    twips::place(m_imgLogo, 4620, 4140, 1515, 435);

    label(m_client, tr("Message"), "LblMessage", 180, 4380, 1515, 195);
    m_txtMsg = new MessageLineEdit(m_client);
    m_txtMsg->setObjectName(QStringLiteral("TxtMsg"));
    twips::place(m_txtMsg, 180, 4620, 4035, 315);

    m_lblProductName = label(m_client, QString(), "LblProductName", 4620, 4620, 1515, 195);
    m_lblVersion = label(m_client, tr("Version"), "LblVersion", 4620, 4800, 1515, 195);
}

void FrmMain::prepare(const QString &versionText, const QString &appTitle)
{
    m_lblVersion->setText(versionText);
    m_lblProductName->setText(appTitle);
    // The cut-off height hides everything below the status area; the window is not
    // fixed in size, enlarging it only shows empty client area.
    resize(twips::toPixels(ClientWidth), twips::toPixels(StartHeight));
    m_fraTmp->setVisible(false);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void FrmMain::MainIni()
{
    SetButtonState();
    m_editor->MainIni();
}

void FrmMain::SetButtonState()
{
    m_buttons->SetButtonState();
}

void FrmMain::ClearDisplay()
{
    m_editor->ClearDisplay();
}

MessageLine &FrmMain::messageLine()
{
    return *m_txtMsg;
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    event->accept();
    Q_EMIT closing();
}

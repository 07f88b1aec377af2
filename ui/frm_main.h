#pragma once
#include "main_menu.h"

#include "link/device_operations.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

class BusyIndicator;
class CommandButtonPanel;
class LogoWidget;
class MessageBoxes;
class MessageLine;
class MessageLineEdit;
class QFrame;
class QLabel;
class QPushButton;
class SerialPort;
class SettingsEditor;
class ShapeLed;

// The main window. It places the widgets, builds the menus and owns the rule that enables
// the command buttons; what the buttons, menus and fields do lives with the objects that
// start-up wires to its signals and accessors.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    // Client area as designed, in twips, and the height start-up cuts the window to,
    // which leaves the hidden frame below the visible part.
    static constexpr int ClientWidth = 6450;
    static constexpr int DesignHeight = 8100;
    static constexpr int StartHeight = 6030;
    static constexpr int CommandCount = DeviceOperations::Count;

    // `MSComm` is the serial port whose open state enables the command buttons.
    FrmMain(SerialPort &MSComm, MessageBoxes &boxes, QWidget *parent = nullptr);
    ~FrmMain() override;

    // Start-up's last preparations: version and product name, the visible height, the
    // hidden frame, the window centred on the screen.
    void prepare(const QString &versionText, const QString &appTitle);

    // Start-up initialisation of the window's state: the button rule, then the settings
    // fields with their limits.
    void MainIni();
    // Buttons enabled only while the port is open; writing waits for settings to show.
    // During an operation all stay locked; its end applies the rules.
    void SetButtonState();
    CommandButtonPanel &commandButtons() const { return *m_buttons; }
    // Blanks every settings field, switch and box.
    void ClearDisplay();

    MessageLine &messageLine();
    MessageLineEdit *TxtMsg() const { return m_txtMsg; }
    QPushButton *CmdZxCom(int index) const { return m_cmdZxCom.at(size_t(index)); }
    ShapeLed *ShpLED() const { return m_shpLed; }
    BusyIndicator &busyIndicator() const { return *m_busy; }
    LogoWidget *ImgLogo() const { return m_imgLogo; }
    QLabel *LblProductName() const { return m_lblProductName; }
    QLabel *LblVersion() const { return m_lblVersion; }
    QFrame *FraTmp() const { return m_fraTmp; }
    QWidget *client() const { return m_client; }
    SettingsEditor &editor() const { return *m_editor; }
    const MainMenu &menu() const { return m_menu; }
    QAction *mnuOpen() const { return m_menu.mnuOpen; }
    QAction *mnuSave() const { return m_menu.mnuSave; }
    QAction *munOpenLog() const { return m_menu.munOpenLog; }
    QAction *mnuSaveLog() const { return m_menu.mnuSaveLog; }
    QAction *mnuCom() const { return m_menu.mnuCom; }
    QAction *mnuEnd() const { return m_menu.mnuEnd; }

Q_SIGNALS:
    // A command button was clicked (index 0..4).
    void commandClicked(int index);
    // The window is closing, by its close box or by "Exit": the program must end.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildCommandButtons();
    void buildStatusArea();
    void setReadingOrder();

    SerialPort &m_MSComm;
    QWidget *m_client = nullptr;
    std::array<QPushButton *, CommandCount> m_cmdZxCom {};
    ShapeLed *m_shpLed = nullptr;
    BusyIndicator *m_busy = nullptr;
    LogoWidget *m_imgLogo = nullptr;
    MessageLineEdit *m_txtMsg = nullptr;
    QLabel *m_lblProductName = nullptr;
    QLabel *m_lblVersion = nullptr;
    QFrame *m_fraTmp = nullptr;
    SettingsEditor *m_editor = nullptr;
    std::unique_ptr<CommandButtonPanel> m_buttons;
    MainMenu m_menu;
};

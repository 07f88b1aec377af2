#pragma once
#include "platform/port_catalog.h"

#include <QDialog>
#include <functional>

class IniFile;
class QComboBox;
class QLabel;
class QPushButton;
class SerialPort;
struct PortChoice;

// The port selection dialog. It lists the ports 1..16 that open right now, pre-selects
// the configured one and stores a choice in the INI file the moment it is made; OK or
// Cancel only tell the caller whether to open the port now.
class frmConfig : public QDialog {
    Q_OBJECT
public:
    // Numbers the ports afresh for each listing, so an adapter plugged in since the last
    // showing appears.
    using CatalogSource = std::function<PortCatalog()>;

    // `why`, when given, is the reason the last open failed, shown to the user.
    frmConfig(SerialPort &port, PortChoice &choice, IniFile &ini, CatalogSource catalog,
              const QString &why = QString(), QWidget *parent = nullptr);

    void ListComPorts();
    void Combo_Click();
    void cmdOk_Click();
    void CmdCancel_Click();
    // Escape and the window's close box leave the dialog as Cancel does.
    void reject() override;

    QLabel *Label17 = nullptr;
    QComboBox *Combo = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *CmdCancel = nullptr;
    QLabel *LblWhy = nullptr; // null unless a reason was given

private:
    QString tooltipFor(const PortCatalog &catalog, int number) const;

    SerialPort &m_port;
    PortChoice &m_choice;
    IniFile &m_ini;
    CatalogSource m_catalog;
};

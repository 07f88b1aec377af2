#pragma once
#include "platform/port_catalog.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class SerialPort;

// The port selection dialog. It lists the ports 1..16 that open right now and pre-selects
// the configured one. Each pick goes at once to the caller's `store`, so the choice is kept
// the moment it is made; OK or Cancel (Escape, the close box) only tell the caller whether
// to open the port now: exec() returns Accepted for OK.
class frmConfig : public QDialog {
    Q_OBJECT
public:
    // Numbers the ports afresh for each listing, so an adapter plugged in since the last
    // showing appears.
    using CatalogSource = std::function<PortCatalog()>;
    using PortStore = std::function<void(int number)>;

    // `why`, when given, is the reason the last open failed, shown to the user.
    frmConfig(SerialPort &port, int configuredPort, CatalogSource catalog, PortStore store,
              const QString &why = QString(), QWidget *parent = nullptr);

    void ListComPorts();
    void Combo_Click();
    void cmdOk_Click();
    void CmdCancel_Click();
    // The port picked last (the configured one until the user picks another).
    int chosenPort() const { return m_chosen; }

    QLabel *Label17 = nullptr;
    QComboBox *Combo = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *CmdCancel = nullptr;
    QLabel *LblWhy = nullptr; // null unless a reason was given

private:
    QString tooltipFor(const PortCatalog &catalog, int number) const;

    SerialPort &m_port;
    int m_chosen;
    CatalogSource m_catalog;
    PortStore m_store;
};

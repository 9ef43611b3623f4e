#pragma once

#include "foundation/Settings.h"

#include <QWidget>

class QStackedWidget;
class QLabel;
class TDModule;

// The terminal's only main window: borderless, full screen, with the login, sale,
// sales-list and web tabs in one tab control whose headers are hidden. It is a frame
// that holds the run's state; each tab's work lives in its own class.
class TPrincipal : public QWidget {
public:
    explicit TPrincipal(TDModule& DModule, QWidget* parent = nullptr);

    static QString Titulo() { return QStringLiteral("Balcona - [Posto de Vendas]"); }

    // The preferences and identity of the settings file.
    TSettings Config;
    bool ConexaoWeb = false;

    TDModule& DModule() { return m_dm; }

    void IniFile_Read();
    void IniFile_Salva();

    QStackedWidget* TbCtrl_Principal = nullptr;
    QWidget* Tab_Login = nullptr;
    QWidget* Tab_Vendas = nullptr;
    QWidget* Tab_Lista = nullptr;
    QWidget* Tab_WebBrozer = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void FormClose();
    // The login box's text; the sign-in names the settings section with it.
    QString Edt_Usuario_Email_Text() const;

    TDModule& m_dm;
    QWidget* Rct_Title = nullptr;
    bool m_shown = false;
};

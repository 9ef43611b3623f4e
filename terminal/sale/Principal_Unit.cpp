#include "Principal_Unit.h"

#include "foundation/DModule_Unit.h"
#include "platform/Platform.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QWidget* novaAba(const QString& name, QStackedWidget* owner) {
    auto* tab = new QWidget(owner);
    tab->setObjectName(name);
    owner->addWidget(tab);
    return tab;
}

} // namespace

TPrincipal::TPrincipal(TDModule& DModule, QWidget* parent) : QWidget(parent), m_dm(DModule) {
    setObjectName(QStringLiteral("Principal"));
    setWindowTitle(Titulo());
    setWindowFlag(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Rct_Title = new QWidget(this);
    Rct_Title->setObjectName(QStringLiteral("Rct_Title"));
    Rct_Title->setFixedHeight(56);
    Rct_Title->setAutoFillBackground(true);
    Rct_Title->setStyleSheet(QStringLiteral("#Rct_Title { background: #45A3CE; }"));
    auto* titleLayout = new QHBoxLayout(Rct_Title);
    titleLayout->setContentsMargins(16, 0, 16, 0);
    auto* appName = new QLabel(QStringLiteral("Balcona"), Rct_Title);
    appName->setObjectName(QStringLiteral("Lab_AppName"));
    appName->setStyleSheet(QStringLiteral("color: white; font-size: 22px; font-weight: bold;"));
    titleLayout->addWidget(appName);
    titleLayout->addStretch();
    layout->addWidget(Rct_Title);

    TbCtrl_Principal = new QStackedWidget(this);
    TbCtrl_Principal->setObjectName(QStringLiteral("TbCtrl_Principal"));
    Tab_Login = novaAba(QStringLiteral("Tab_Login"), TbCtrl_Principal);
    Tab_Vendas = novaAba(QStringLiteral("Tab_Vendas"), TbCtrl_Principal);
    Tab_Lista = novaAba(QStringLiteral("Tab_Lista"), TbCtrl_Principal);
    Tab_WebBrozer = novaAba(QStringLiteral("Tab_WebBrozer"), TbCtrl_Principal);
    TbCtrl_Principal->setCurrentWidget(Tab_Login);
    TbCtrl_Principal->setStyleSheet(QStringLiteral("#TbCtrl_Principal { background: #F0F1F1; }"));
    layout->addWidget(TbCtrl_Principal, 1);

    // Without a window manager (a kiosk session) full screen is only a request: take
    // the whole screen ourselves.
    if (QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
}

QString TPrincipal::Edt_Usuario_Email_Text() const {
    return Config.Usuario_Email;
}

void TPrincipal::IniFile_Read() {
    SettingsFile(m_dm.Sistema_DirName)
        .IniFile_Read(Config, Edt_Usuario_Email_Text(), Platform::executablePath());
}

void TPrincipal::IniFile_Salva() {
    SettingsFile(m_dm.Sistema_DirName).IniFile_Salva(Config, Edt_Usuario_Email_Text());
}

void TPrincipal::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    FormShow();
}

void TPrincipal::FormShow() {
    IniFile_Read();
    TbCtrl_Principal->setCurrentWidget(Tab_Login);
}

void TPrincipal::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TPrincipal::FormClose() {
    m_dm.FDConnection1.close();
    QCoreApplication::quit();
}

#include "Web_Tab_Unit.h"

#include "foundation/DModule_Unit.h"
#include "sale/Principal_Unit.h"

#include <QVBoxLayout>
#include <QWebEngineSettings>
#include <QWebEngineView>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

TWeb_Tab::TWeb_Tab(QWidget* tab) : QWidget(tab) {
    setObjectName(QStringLiteral("Lyt_Web_Tab"));
    auto* tabLayout = new QVBoxLayout(tab);
    tabLayout->setContentsMargins(0, 0, 0, 0);
    tabLayout->addWidget(this);

    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 0);
    Lyt_WeBrowser = new QWidget(this);
    Lyt_WeBrowser->setObjectName(QStringLiteral("Lyt_WeBrowser"));
    raiz->addWidget(Lyt_WeBrowser);
    auto* lyt = new QVBoxLayout(Lyt_WeBrowser);
    lyt->setContentsMargins(12, 12, 12, 12);
    Rct_WeBrowser = new QWidget(Lyt_WeBrowser);
    Rct_WeBrowser->setObjectName(QStringLiteral("Rct_WeBrowser"));
    Rct_WeBrowser->setAttribute(Qt::WA_StyledBackground);
    Rct_WeBrowser->setStyleSheet(
        QStringLiteral("#Rct_WeBrowser { background: white; border: 1px solid #C8CDD0; }"));
    lyt->addWidget(Rct_WeBrowser);
    auto* rct = new QVBoxLayout(Rct_WeBrowser);
    rct->setContentsMargins(1, 1, 1, 1);
}

QWebEngineView* TWeb_Tab::Criar_Navegador() {
    if (WBrowser_Return) return WBrowser_Return;
#ifdef Q_OS_UNIX
    // Chromium refuses to start its sandbox for root, which is how kiosk terminals and
    // test machines run; an ordinary user keeps the sandbox.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    WBrowser_Return = new QWebEngineView(Rct_WeBrowser);
    WBrowser_Return->setObjectName(QStringLiteral("WBrowser_Return"));
    QWebEngineSettings* s = WBrowser_Return->settings();
    // Reply pages are saved files that may link the account's style sheets and pictures.
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    // They are written in the system's 8-bit code page, which is UTF-8 here; a page
    // without a charset of its own is read that way.
#ifndef Q_OS_WIN
    s->setDefaultTextEncoding(QStringLiteral("utf-8"));
#endif
    Rct_WeBrowser->layout()->addWidget(WBrowser_Return);
    return WBrowser_Return;
}

void TWeb_Tab::Trazer_Frente() {
    for (QWidget* w : {static_cast<QWidget*>(this), Lyt_WeBrowser, Rct_WeBrowser,
                       static_cast<QWidget*>(WBrowser_Return)}) {
        w->setVisible(true);
        w->raise();
    }
}

void TWeb_Tab::Mostrar_HTML(const QString& html, const QUrl& base) {
    m_endereco = QUrl();
    m_html = html;
    Criar_Navegador()->setHtml(html, base);
    Trazer_Frente();
}

void TWeb_Tab::Abrir_URL(const QUrl& url) {
    m_endereco = url;
    m_html.clear();
    Criar_Navegador()->load(url);
    Trazer_Frente();
}

void TWeb_Tab::Mostrar_Resposta(const QString& arquivo, const QString& resposta) {
    if (arquivo.isEmpty())
        Mostrar_HTML(resposta);
    else
        Abrir_URL(QUrl::fromLocalFile(arquivo));
}

TUpload_Resultado Venda_Lista_UpLoad(TPrincipal& principal, qint32 venda_id) {
    TWeb_Tab& web = principal.Web();
    return Venda_Lista_UpLoad(principal.DModule().FDConnection1, principal.Config,
                              principal.WebAPI_URL, principal.DModule().Sistema_DirName, venda_id,
                              [&web](const QString& arquivo, const QString& resposta) {
                                  web.Mostrar_Resposta(arquivo, resposta);
                              });
}

#pragma once

#include "cloud/Venda_Upload_Core.h"

#include <QString>
#include <QUrl>
#include <QWidget>

class QWebEngineView;
class TPrincipal;

// The main window's browser panel, on the web tab: the reply page of a sale upload and,
// later, the order and report pages of the cloud account. The page engine (an embedded
// Chromium) starts at the first page shown, so a run that never shows one never pays
// for it.
class TWeb_Tab : public QWidget {
public:
    // Fills `tab`.
    explicit TWeb_Tab(QWidget* tab);

    // Shows an HTML text; `base` resolves its relative links. Texts above 2 MB are not
    // shown by the engine: pass larger pages as files.
    void Mostrar_HTML(const QString& html, const QUrl& base = QUrl());
    // Shows a page: a local file (QUrl::fromLocalFile) or a web address.
    void Abrir_URL(const QUrl& url);
    // The reply of an upload: its file when it was written, else its text. Makes the
    // panel visible and brings it to the front.
    void Mostrar_Resposta(const QString& arquivo, const QString& resposta);

    // What was last given to show: the address (empty for a text) and the text (empty for
    // an address).
    QUrl Endereco() const { return m_endereco; }
    QString HTML() const { return m_html; }

    // `WBrowser_Return`: the page view, null until the first page.
    QWebEngineView* Navegador() const { return WBrowser_Return; }

    QWidget* Lyt_WeBrowser = nullptr;
    QWidget* Rct_WeBrowser = nullptr;

private:
    QWebEngineView* Criar_Navegador();
    void Trazer_Frente();

    QWebEngineView* WBrowser_Return = nullptr;
    QUrl m_endereco;
    QString m_html;
};

// The upload of a sale with its reply shown in the main window's browser panel (without
// changing tab): the sale of `venda_id` on the signed-in company's database, with the
// run's credentials. The result and the failure reaction are those of the core's
// Venda_Lista_UpLoad: a failed exchange shows its message and throws Abort.
TUpload_Resultado Venda_Lista_UpLoad(TPrincipal& principal, qint32 venda_id);

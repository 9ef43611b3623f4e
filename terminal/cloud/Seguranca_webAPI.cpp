#include "Seguranca_webAPI.h"

#include "cloud/JsonLeitor.h"
#include "cloud/WebAPI.h"

bool Seguranca_webAPI(const TSettings& cfg, const QString& WebAPI_URL, const QString& email,
                      const QString& senha, qint32 permissao_id, const QString& permissao_tipo) {
    TChamada chamada;
    chamada.comando = QStringLiteral("seguranca");
    chamada.campos = {{QStringLiteral("usuario_email"), email},
                      {QStringLiteral("usuario_senha"), senha},
                      {QStringLiteral("permissao_id"), QString::number(permissao_id)},
                      {QStringLiteral("comando"), chamada.comando}};
    QString texto;
    try {
        const TResposta resposta = WebAPI_Enviar(cfg, WebAPI_URL, chamada);
        texto = resposta.texto;
        const JsonDocumento doc(resposta.texto);
        const JsonValor permissoes = doc.raiz().array(QStringLiteral("permissoes"));
        // An empty array fails here like any array shorter than the reply must be.
        return permissoes[0].inteiro(permissao_tipo, 0) != 0;
    } catch (const WebAPIError& e) {
        WebAPI_Falha_Clipboard(e);
    } catch (const std::exception& e) {
        // Whatever else went wrong, the right is not granted.
        WebAPI_Falha_Clipboard(WebAPIError(QString::fromLocal8Bit(e.what()), texto));
    }
    return false;
}

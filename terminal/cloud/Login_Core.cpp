#include "Login_Core.h"

#include "cloud/JsonLeitor.h"
#include "cloud/WebAPI.h"
#include "foundation/Settings.h"

QString Login_Horario(const QDateTime& agora) {
    return agora.toString(QStringLiteral("ddMMyyyyHHmmss"));
}

void Login_webAPI(TSettings& cfg, const QString& WebAPI_URL, const QString& email,
                  const QString& senha, const QDateTime& agora) {
    TChamada chamada;
    chamada.comando = QStringLiteral("login");
    chamada.campos = {{QStringLiteral("usuario_email"), email},
                      {QStringLiteral("usuario_senha"), senha},
                      {QStringLiteral("comando"), QStringLiteral("login")},
                      {QStringLiteral("horario"), Login_Horario(agora)}};
    const TResposta resposta = WebAPI_Enviar(cfg, WebAPI_URL, chamada);
    const JsonDocumento doc(resposta.texto);
    const JsonValor raiz = doc.raiz();

    const JsonValor usuarios = raiz.array(QStringLiteral("empresas_user"));
    for (int i = 0; i < usuarios.tamanho(); ++i) {
        const JsonValor u = usuarios[i];
        cfg.Usuario_Email = u.texto(QStringLiteral("email"));
        cfg.Usuario_Nome = u.texto(QStringLiteral("usuario"));
        cfg.Usuario_Password = senha;
        cfg.Vendedor_ID = u.inteiro(QStringLiteral("funcionario_id"), 0);
        cfg.Funcionario_ID = cfg.Vendedor_ID;
    }

    const JsonValor empresas = raiz.array(QStringLiteral("empresas"));
    for (int i = 0; i < empresas.tamanho(); ++i) {
        const JsonValor e = empresas[i];
        cfg.Emp_ID = e.inteiro(QStringLiteral("id"));
        cfg.Emp_Nome = e.texto(QStringLiteral("fantasia"));
        cfg.Emp_UF = e.texto(QStringLiteral("uf"));
        cfg.Emp_Cidade = e.texto(QStringLiteral("cidade"));
        cfg.Emp_Endereco = e.texto(QStringLiteral("endereco"));
        cfg.Emp_Numero = e.texto(QStringLiteral("numero"));
        cfg.Emp_Bairro = e.texto(QStringLiteral("bairro"));
        cfg.Emp_Fone = e.texto(QStringLiteral("fone1"));
        cfg.Emp_CNPJ = e.texto(QStringLiteral("cnpj"));
        cfg.Emp_Site = e.texto(QStringLiteral("site"));
        cfg.Emp_Email = e.texto(QStringLiteral("email"));
        cfg.Emp_Instagram = e.texto(QStringLiteral("instagram"));
        cfg.Emp_Facebook = e.texto(QStringLiteral("facebook"));
        cfg.Emp_TikTok = e.texto(QStringLiteral("tiktok"));
        cfg.Emp_twitter = e.texto(QStringLiteral("twitter"));
        cfg.Emp_youtube = e.texto(QStringLiteral("youtube"));
        cfg.conf_Desc_Limit = e.numero(QStringLiteral("conf_desc_limit"));
        cfg.conf_venda_altvalor = e.inteiro(QStringLiteral("venda_altvalor"));
    }
}

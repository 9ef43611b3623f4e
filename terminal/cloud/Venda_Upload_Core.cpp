#include "Venda_Upload_Core.h"

#include "foundation/Database.h"
#include "foundation/QueloUtil_Unit.h"
#include "foundation/Settings.h"
#include "platform/Platform.h"

#include <QFile>

#include <algorithm>

namespace {

QString data(const QDate& d) {
    // An empty date is day zero of the account's calendar.
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : QStringLiteral("1899-12-30");
}

QString numero(const db::Query& q, const char* coluna) {
    return FloatToString(q.field(QString::fromLatin1(coluna)).asFloat());
}

QString inteiro(const db::Query& q, const char* coluna) {
    return QString::number(q.field(QString::fromLatin1(coluna)).asInteger());
}

QString texto(const db::Query& q, const char* coluna) {
    return q.field(QString::fromLatin1(coluna)).asString();
}

// A value as the inside of a JSON string: quote, backslash and control characters escaped.
QString jsonTexto(const QString& valor) {
    QString r;
    r.reserve(valor.size());
    for (const QChar ch : valor) {
        const char16_t c = ch.unicode();
        switch (c) {
        case u'"':
            r += QStringLiteral("\\\"");
            break;
        case u'\\':
            r += QStringLiteral("\\\\");
            break;
        case u'\b':
            r += QStringLiteral("\\b");
            break;
        case u'\f':
            r += QStringLiteral("\\f");
            break;
        case u'\n':
            r += QStringLiteral("\\n");
            break;
        case u'\r':
            r += QStringLiteral("\\r");
            break;
        case u'\t':
            r += QStringLiteral("\\t");
            break;
        default:
            if (c < 0x20)
                r += QStringLiteral("\\u%1").arg(int(c), 4, 16, QLatin1Char('0'));
            else
                r += ch;
        }
    }
    return r;
}

// `"key":"value", ` for every key of an object but its last, `"key":"value" ` for that.
QString linhaChave(const char* chave, const QString& valor, bool ultima = false) {
    return u'"' + QString::fromLatin1(chave) + QStringLiteral("\":\"") + jsonTexto(valor) +
           (ultima ? QStringLiteral("\" ") : QStringLiteral("\", "));
}

void campo(QList<TCampo>& campos, const char* nome, const QString& valor) {
    campos.append({QString::fromLatin1(nome), valor});
}

} // namespace

QList<TCampo> Venda_Upload_Campos(db::Connection& c, const TSettings& cfg, qint32 venda_id,
                                  const QDate& hoje) {
    db::Query q(c);
    q.clearSql();
    q.addSql(QStringLiteral("select tb1.*,"));
    q.addSql(QStringLiteral("(select nome from clientes where id=tb1.cliente_id)as cliente,"));
    q.addSql(QStringLiteral(
        "(select nome from funcionarios where id=tb1.vendedor_id)as vendedor_nome,"));
    q.addSql(QStringLiteral("(select tipo  from pagamentos where id=tb1.plano_id)as plano_tipo,"));
    q.addSql(QStringLiteral("(select plano from pagamentos where id=tb1.plano_id)as plano_nome,"));
    q.addSql(QStringLiteral("COALESCE((select sum(prod_geral) from venda_produtos where "
                            "venda_id=tb1.id),0)as total_produto"));
    q.addSql(QStringLiteral("from venda tb1 where (id=:id)"));
    q.bind(QStringLiteral(":id"), venda_id);
    q.open();
    // An empty upload would reach the account as a sale of nothing.
    if (q.eof()) throw Error(QStringLiteral("Venda %1 não encontrada").arg(venda_id));

    const QString venda_cod = texto(q, "venda_cod");
    const QString dia = data(hoje);
    QList<TCampo> campos;
    campo(campos, "venda_serial", QString());
    campo(campos, "venda_terminal", QStringLiteral("1"));
    campo(campos, "venda_loja", QStringLiteral("1"));
    campo(campos, "venda_cupom", QString());
    campo(campos, "venda_numero_venda", venda_cod);
    campo(campos, "venda_dav", venda_cod);
    campo(campos, "venda_dt_dav", dia);
    campo(campos, "venda_dt_cupom", dia);
    campo(campos, "venda_entreg_id", inteiro(q, "entregador_id"));
    campo(campos, "venda_vend_id", inteiro(q, "vendedor_id"));
    campo(campos, "venda_vend_nome", texto(q, "vendedor_nome"));
    campo(campos, "venda_clie_cpf", texto(q, "cliente_cpf"));
    campo(campos, "venda_venda_obs", texto(q, "venda_obs"));
    campo(campos, "venda_valor_produtos", numero(q, "total_produto"));
    campo(campos, "venda_valor_desconto", numero(q, "venda_desconto"));
    campo(campos, "venda_valor_acrecimo", numero(q, "venda_acrecimo"));
    campo(campos, "venda_valor_total", numero(q, "venda_total"));
    campo(campos, "venda_valor_dinheiro", numero(q, "entrada"));
    campo(campos, "venda_valor_pix", numero(q, "pix"));
    campo(campos, "venda_valor_troco", numero(q, "troco"));
    campo(campos, "venda_valor_cheque", numero(q, "cheque"));
    campo(campos, "venda_valor_cartao", numero(q, "cartao"));
    campo(campos, "venda_valor_ticket", QStringLiteral("0"));
    campo(campos, "venda_valor_prazo", numero(q, "prazo"));
    campo(campos, "venda_valor_devolucao", QStringLiteral("0"));
    campo(campos, "venda_plano_id", inteiro(q, "plano_id"));
    campo(campos, "venda_plano_dt_primeira",
          data(q.field(QStringLiteral("plano_dt_primeira")).asDate()));
    campo(campos, "venda_cancelamento", QStringLiteral("NAO"));
    campo(campos, "comando", QStringLiteral("upload_venda"));
    campo(campos, "emp_simcardnum", QString());
    campo(campos, "usuario_nome", cfg.Usuario_Nome);
    campo(campos, "usuario_email", cfg.Usuario_Email);
    campo(campos, "usuario_senha", cfg.Usuario_Password);

    db::Query cli(c);
    cli.setSql(QStringLiteral("select * from clientes where ID=:ID"));
    cli.bind(QStringLiteral(":ID"), q.field(QStringLiteral("cliente_id")).asInteger());
    cli.open();
    if (!cli.eof()) {
        campo(campos, "cliente_dt_cadastro", dia);
        campo(campos, "cliente_ativo", QStringLiteral("1"));
        campo(campos, "cliente_tipo", texto(cli, "tipo"));
        campo(campos, "cliente_cod", texto(cli, "cod").trimmed());
        campo(campos, "cliente_nome", RemoveAcentos(texto(cli, "nome")));
        campo(campos, "cliente_apelido", RemoveAcentos(texto(cli, "apelido")));
        campo(campos, "cliente_cpf_cnpj", SoNumeros(texto(cli, "cpf_cnpj")));
        campo(campos, "cliente_rg_ie", SoNumeros(texto(cli, "rg_ie")));
        campo(campos, "cliente_endereco", RemoveAcentos(texto(cli, "endereco")));
        campo(campos, "cliente_endereco_obs", RemoveAcentos(texto(cli, "endereco_obs")));
        campo(campos, "cliente_numero", texto(cli, "numero").trimmed());
        campo(campos, "cliente_bairro", RemoveAcentos(texto(cli, "bairro")));
        campo(campos, "cliente_cidade", RemoveAcentos(texto(cli, "cidade")));
        campo(campos, "cliente_estado", RemoveAcentos(texto(cli, "estado").toUpper()));
        campo(campos, "cliente_fone", texto(cli, "fone").trimmed());
        campo(campos, "cliente_celular", texto(cli, "celular").trimmed());
        campo(campos, "cliente_nascimento", data(cli.field(QStringLiteral("nascimento")).asDate()));
        campo(campos, "cliente_email", RemoveAcentos(texto(cli, "email").toLower()));
        campo(campos, "cliente_grupo", RemoveAcentos(texto(cli, "grupo")));
        campo(campos, "cliente_grupo_id", SoNumeros(texto(cli, "grupo_id")));
        campo(campos, "cliente_cep", SoNumeros(texto(cli, "cep")));
        campo(campos, "cliente_gps_latitude", numero(cli, "gps_latitude").trimmed());
        campo(campos, "cliente_gps_longitude", numero(cli, "gps_longitude").trimmed());
    } else {
        // The account files a sale without a customer under the shop itself.
        const QString cnpj = SoNumeros(cfg.Emp_CNPJ);
        campo(campos, "cliente_dt_cadastro", dia);
        campo(campos, "cliente_ativo", QStringLiteral("1"));
        campo(campos, "cliente_cod", MD5(cnpj + QString::number(cfg.Emp_ID)));
        campo(campos, "cliente_tipo", QStringLiteral("J"));
        campo(campos, "cliente_nome", QStringLiteral("Venda Sem Cliente"));
        campo(campos, "cliente_apelido", QStringLiteral("Venda Sem Cliente"));
        campo(campos, "cliente_cpf_cnpj", cnpj);
        campo(campos, "cliente_rg_ie", cnpj);
        campo(campos, "cliente_endereco", RemoveAcentos(cfg.Emp_Endereco));
        campo(campos, "cliente_endereco_obs", QString());
        campo(campos, "cliente_numero", QString());
        campo(campos, "cliente_bairro", RemoveAcentos(cfg.Emp_Bairro));
        campo(campos, "cliente_cidade", RemoveAcentos(cfg.Emp_Cidade));
        campo(campos, "cliente_estado", RemoveAcentos(cfg.Emp_UF.toUpper()));
        campo(campos, "cliente_fone", cfg.Emp_Fone.trimmed());
        campo(campos, "cliente_celular", cfg.Emp_Fone.trimmed());
        campo(campos, "cliente_nascimento", dia);
        campo(campos, "cliente_email", QString());
        campo(campos, "cliente_grupo", QString());
        campo(campos, "cliente_grupo_id", QStringLiteral("0"));
        campo(campos, "cliente_cep", QString());
        campo(campos, "cliente_gps_latitude", QString());
        campo(campos, "cliente_gps_longitude", QString());
    }
    return campos;
}

QString Venda_Upload_Corpo(db::Connection& c, qint32 venda_id, const QString& venda_cod) {
    QStringList linhas;
    linhas << QStringLiteral("{\"produtos\":[");

    db::Query q(c);
    q.clearSql();
    q.addSql(QStringLiteral("select tb1.*,"));
    q.addSql(QStringLiteral("(select plano_id from venda where venda_cod=:venda_cod)as Plano_ID,"));
    q.addSql(
        QStringLiteral("(select cliente_id from venda where venda_cod=:venda_cod)as Cliente_ID"));
    q.addSql(QStringLiteral("from venda_produtos tb1 where venda_id=:venda_id"));
    q.bind(QStringLiteral(":venda_cod"), venda_cod);
    q.bind(QStringLiteral(":venda_id"), venda_id);
    for (q.open(); !q.eof(); q.next()) {
        const double qtd = q.field(QStringLiteral("prod_qtd")).asFloat();
        // The unit price goes with its surcharge.
        const double unitario = q.field(QStringLiteral("prod_venda")).asFloat() +
                                q.field(QStringLiteral("prod_acrec")).asFloat();
        linhas << QStringLiteral("{");
        linhas << linhaChave("prod_id", inteiro(q, "prod_id"));
        linhas << linhaChave("prod_val_venda", FloatToString(unitario));
        linhas << linhaChave("prod_quant", FloatToString(qtd));
        linhas << linhaChave("prod_unitario", FloatToString(unitario));
        linhas << linhaChave("prod_desc", numero(q, "prod_desc"));
        linhas << linhaChave("prod_desccc", numero(q, "prod_desccc"));
        linhas << linhaChave("prod_acrec", numero(q, "prod_acrec"));
        linhas << linhaChave("prod_total", FloatToString(qtd * unitario), true);
        linhas << QStringLiteral("},");
    }
    // The empty object keeps the comma after the last item valid.
    linhas << QStringLiteral("{}],");
    linhas << QStringLiteral("\"venda_cartao\":[");

    db::Query k(c);
    k.setSql(QStringLiteral("select * from venda_cartao where venda_id=:venda_id"));
    k.bind(QStringLiteral(":venda_id"), venda_id);
    for (k.open(); !k.eof(); k.next()) {
        linhas << QStringLiteral("{");
        linhas << linhaChave("cartao_cliente", RemoveAcentos(texto(k, "cliente")));
        linhas << linhaChave("cartao_operadora", RemoveAcentos(texto(k, "operadora")));
        linhas << linhaChave("cartao_forma", RemoveAcentos(texto(k, "forma")));
        linhas << linhaChave("cartao_valor", numero(k, "valor"));
        linhas << linhaChave("cartao_parcelas", inteiro(k, "parcelas"), true);
        linhas << QStringLiteral("},");
    }
    linhas << QStringLiteral("{}]}");

    return RemoveAcentos(linhas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

QString Venda_Upload_Arquivo(const QString& pasta, const QTime& agora) {
    QString dir = pasta;
    if (!dir.isEmpty() && !dir.endsWith(u'/') && !dir.endsWith(u'\\')) dir += u'/';
    // Hours and seconds, as the reply files have always been named.
    return dir + QStringLiteral("Venda_Lista_UpLoad_API_WEB") +
           agora.toString(QStringLiteral("HHss")) + QStringLiteral(".html");
}

QList<TUpload_Comando> Venda_Upload_Comandos(const QString& resposta) {
    QList<TUpload_Comando> comandos;
    for (int n = 1; n <= 100; ++n) {
        const QString abre = QStringLiteral("<SQL%1>").arg(n);
        const qsizetype pos = resposta.indexOf(abre);
        if (pos < 0) continue;
        // Seven characters on from the tag's "<": past the tag and the blank the account
        // puts after it for n up to 9, right after the tag from 10 on (<SQL100> is longer).
        const qsizetype inicio = pos + std::max<qsizetype>(7, abre.size());
        const qsizetype fim = resposta.indexOf(QStringLiteral("</SQL%1>").arg(n));
        TUpload_Comando cmd;
        cmd.n = n;
        if (fim >= inicio) cmd.sql = resposta.mid(inicio, fim - inicio);
        comandos.append(cmd);
    }
    return comandos;
}

TUpload_Resultado Venda_Lista_UpLoad(
    db::Connection& c, const TSettings& cfg, const QString& WebAPI_URL, const QString& pasta,
    qint32 venda_id,
    const std::function<void(const QString& arquivo, const QString& resposta)>& Mostrar) {
    const QString arquivo = Venda_Upload_Arquivo(pasta, QTime::currentTime());

    TChamada chamada;
    chamada.comando = QStringLiteral("upload_venda");
    chamada.put = true;
    chamada.campos = Venda_Upload_Campos(c, cfg, venda_id, QDate::currentDate());
    QString venda_cod;
    for (const TCampo& f : chamada.campos)
        if (f.nome == u"venda_numero_venda") venda_cod = f.valor;
    chamada.corpo = Venda_Upload_Corpo(c, venda_id, venda_cod).toUtf8();

    TResposta resposta;
    try {
        resposta = WebAPI_Enviar(cfg, WebAPI_URL, chamada);
    } catch (const WebAPIError& e) {
        WebAPI_Falha_Mensagem(e); // throws Abort
    }

    TUpload_Resultado r;
    r.Resposta = resposta.texto;
    Platform::setClipboardText(r.Resposta);
    // The sale's fate is decided by the reply, not by the disk: a reply file that cannot be
    // written must not leave an accepted sale unmarked (it would be sent again).
    QFile f(arquivo);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        f.write(Platform::toSystem8bit(r.Resposta)) >= 0 && f.flush())
        r.Arquivo = arquivo;
    f.close();
    if (Mostrar) Mostrar(r.Arquivo, r.Resposta);

    if (!r.Resposta.contains(QStringLiteral("Status:OK"))) return r;

    db::Query q(c);
    q.setSql(QStringLiteral("update venda set venda_status=:venda_status where id=:id"));
    q.bind(QStringLiteral(":venda_status"), 1);
    q.bind(QStringLiteral(":id"), venda_id);
    q.exec();
    r.Enviada = true;

    for (const TUpload_Comando& cmd : Venda_Upload_Comandos(r.Resposta)) {
        if (cmd.sql.trimmed().isEmpty())
            throw DbError(QStringLiteral("SQL%1: comando vazio na resposta").arg(cmd.n));
        c.exec(cmd.sql);
    }
    return r;
}

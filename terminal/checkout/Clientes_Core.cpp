#include "Clientes_Core.h"

#include "cloud/Http_Get.h"
#include "cloud/JsonLeitor.h"
#include "foundation/Database.h"
#include "foundation/QueloUtil_Unit.h"
#include "foundation/Settings.h"

#include <QByteArray>
#include <QtGlobal>


#include <memory>

namespace {

constexpr const char* CEP_HOST_FIXO = "https://viacep.com.br";

TCliente_Validacao falha(Campo_Cliente campo, const char* mensagem, bool esvaziar) {
    return {campo, QString::fromUtf8(mensagem), esvaziar};
}

} // namespace

QList<TCliente_Linha> Clientes_Pesquisar(db::Connection& c, const QString& texto) {
    const QString t = texto.trimmed();
    QString padrao = t;
    padrao.replace(u' ', u'%');
    padrao = u'%' + padrao + u'%';

    db::Query q(c);
    q.clearSql();
    q.addSql(QStringLiteral("select * from clientes where 1"));
    q.addSql(QStringLiteral("and ((id=:id) or (cpf_cnpj=:texto) or (rg_ie=:texto)"));
    q.addSql(QStringLiteral("or (nome like :padrao) or (apelido like :padrao))"));
    q.addSql(QStringLiteral("order by nome LIMIT 50"));
    q.bind(QStringLiteral(":id"), StringToInteger(t));
    q.bind(QStringLiteral(":texto"), t);
    q.bind(QStringLiteral(":padrao"), padrao);
    q.open();
    QList<TCliente_Linha> linhas;
    for (; !q.eof(); q.next()) {
        TCliente_Linha l;
        l.id = q.field(QStringLiteral("id")).asInteger();
        l.nome = q.field(QStringLiteral("nome")).asString();
        l.apelido = q.field(QStringLiteral("apelido")).asString();
        l.cpf_cnpj = q.field(QStringLiteral("cpf_cnpj")).asString();
        l.cidade = q.field(QStringLiteral("cidade")).asString();
        l.credito = q.field(QStringLiteral("credito")).asString();
        linhas.append(l);
    }
    return linhas;
}

QString Clientes_Lista_Linha1(const TCliente_Linha& l) {
    const QString nome = l.nome.toUpper();
    const QString apelido = l.apelido.trimmed().toUpper();
    if (apelido.isEmpty() || apelido == nome.trimmed()) return nome;
    return nome + QStringLiteral(" - [") + apelido.left(15) + u']';
}

QString Clientes_Lista_Linha2(const TCliente_Linha& l) {
    return QStringLiteral("%1  |  CPF/CNPJ: %2").arg(l.id, 4, 10, QChar(u'0')).arg(l.cpf_cnpj);
}

bool Clientes_Lista_Sem_Credito(const TCliente_Linha& l) {
    return l.credito.trimmed().toUpper() != u"CONCEDIDO";
}

bool Cliente_CPF_Duplicado(db::Connection& c, const QString& cpf, qint32 Venda_Cliente_ID) {
    const QString digitos = SoNumeros(cpf);
    // A text without digits would match every customer stored without a document.
    if (digitos.isEmpty()) return false;
    db::Query q(c);
    q.setSql(QStringLiteral("select nome from clientes where (cpf_cnpj=:cpf_cnpj) and (ID<>:ID)"));
    q.bind(QStringLiteral(":cpf_cnpj"), digitos);
    q.bind(QStringLiteral(":ID"), Venda_Cliente_ID);
    q.open();
    return !q.eof();
}

bool Cliente_Documento_Valido(const QString& cpf) {
    return TestCPF(cpf) || TesteCGC(cpf);
}

TCliente_Validacao Cliente_Validar(TCliente_Form& f) {
    if (f.cpf.trimmed().isEmpty())
        return falha(Campo_Cliente::CPF, "Preencha corretamente o campo CPF!", true);
    if (f.nome.trimmed().isEmpty())
        return falha(Campo_Cliente::Nome, "Preencha corretamente o campo Nome Completo!", true);
    if (SoNumeros(f.cep).size() != 8)
        return falha(Campo_Cliente::CEP, "O CEP precisa ter 8 dígitos numéricos", false);
    f.cep = FormataCEP(f.cep);
    if (f.estado_digitado.trimmed().isEmpty())
        return falha(Campo_Cliente::Estado, "Preencha corretamente o campo Estado!", true);
    if (f.cidade_digitada.trimmed().isEmpty())
        return falha(Campo_Cliente::Cidade, "Preencha corretamente o campo Cidade!", true);
    if (f.endereco.trimmed().isEmpty())
        return falha(Campo_Cliente::Endereco, "Preencha corretamente o campo Endereço Completo!",
                     true);
    if (f.bairro.trimmed().isEmpty())
        return falha(Campo_Cliente::Bairro, "Preencha corretamente o campo Bairro!", true);
    if (f.numero.trimmed().isEmpty()) f.numero = QStringLiteral("SN");
    if (SoNumeros(f.fone).isEmpty())
        return falha(Campo_Cliente::Fone, "Preencha corretamente o campo Contato!", false);
    f.fone = FormataTelefone(f.fone);
    return {};
}

TCliente_Validacao Cliente_Salva_Conferir(const TCliente_Form& f) {
    if (SoNumeros(f.cpf).isEmpty())
        return falha(Campo_Cliente::CPF, "Preencha o CPF do cliente", false);
    if (f.nome.trimmed().isEmpty())
        return falha(Campo_Cliente::Nome, "Preencha o NOME do cliente", false);
    if (SoNumeros(f.fone).isEmpty())
        return falha(Campo_Cliente::Fone, "Preencha o FONE do cliente", false);
    return {};
}

QString Cliente_Codigo(qint32 Emp_ID, qint32 Vendedor_ID, const QDateTime& agora, qint32 id,
                       const QString& nome) {
    return MD5(QString::number(Emp_ID) + QString::number(Vendedor_ID) +
               agora.toString(QStringLiteral("yyyyMMddHHmmss")) + QString::number(id) +
               nome.left(58));
}

namespace {

// The columns that the insert and the update share, with their value rules.
void bindColunas(db::Query& q, const TCliente_Form& f, const TSettings& cfg) {
    const QString nome = Iniciais_Maiusculas(RemoveAcentos(f.nome.left(58)));
    const QString cidade = f.cidade.isEmpty() ? cfg.Emp_Cidade : f.cidade.left(45).toUpper();
    const QString estado = f.estado.isEmpty() ? cfg.Emp_UF : f.estado.left(2).toUpper();
    q.bind(QStringLiteral(":ativo"), 1);
    q.bind(QStringLiteral(":tipo"), "F");
    q.bind(QStringLiteral(":nome"), nome);
    q.bind(QStringLiteral(":apelido"), nome);
    q.bind(QStringLiteral(":cpf_cnpj"), SoNumeros(f.cpf));
    q.bind(QStringLiteral(":endereco"), Iniciais_Maiusculas(f.endereco.left(68)));
    q.bind(QStringLiteral(":endereco_obs"), "");
    q.bind(QStringLiteral(":numero"), f.numero.left(10));
    q.bind(QStringLiteral(":bairro"), f.bairro.left(40));
    q.bind(QStringLiteral(":cidade"), cidade);
    q.bind(QStringLiteral(":estado"), estado);
    q.bind(QStringLiteral(":fone"), f.fone.left(18));
    q.bind(QStringLiteral(":celular"), f.fone.left(18));
    q.bind(QStringLiteral(":grupo"), "");
    q.bind(QStringLiteral(":grupo_id"), 0);
    q.bind(QStringLiteral(":cep"), SoNumeros(f.cep.left(10)));
    q.bind(QStringLiteral(":gps_latitude"), 0.0);
    q.bind(QStringLiteral(":gps_longitude"), 0.0);
}

} // namespace

qint32 Cliente_Salva(db::Connection& c, const TCliente_Form& f, const TSettings& cfg,
                     const QDateTime& agora) {
    // The id is read and used under one write lock: the synchronisation worker also
    // inserts customers.
    db::Transaction t(c);
    db::Query q(c);
    q.setSql(QStringLiteral("Select COALESCE(MAX(ID),0) as MaxID from clientes"));
    q.open();
    const qint32 id = q.field(0).asInteger() + 1;

    q.clearSql();
    q.addSql(QStringLiteral("insert into clientes (id, dt_cadastro, cod, credito, ativo,  tipo, "
                            "nome, apelido, cpf_cnpj, endereco, endereco_obs,"));
    q.addSql(QStringLiteral("numero, bairro, cidade, estado, fone, celular, grupo, grupo_id, cep, "
                            "gps_latitude, gps_longitude)"));
    q.addSql(QStringLiteral("values (:id, :dt_cadastro,:cod, :credito, :ativo, :tipo, :nome, "
                            ":apelido, :cpf_cnpj, :endereco, :endereco_obs,"));
    q.addSql(QStringLiteral(":numero, :bairro, :cidade, :estado, :fone, :celular, :grupo, "
                            ":grupo_id, :cep, :gps_latitude, :gps_longitude)"));
    q.bind(QStringLiteral(":id"), id);
    q.bind(QStringLiteral(":dt_cadastro"), agora.date());
    q.bind(QStringLiteral(":cod"), Cliente_Codigo(cfg.Emp_ID, cfg.Vendedor_ID, agora, id, f.nome));
    q.bind(QStringLiteral(":credito"), "Avaliacao");
    bindColunas(q, f, cfg);
    q.exec();
    t.commit();
    return id;
}

void Cliente_Atualiza(db::Connection& c, qint32 id, const TCliente_Form& f, const TSettings& cfg) {
    db::Query q(c);
    q.clearSql();
    q.addSql(QStringLiteral("update clientes set ativo=:ativo, tipo=:tipo, nome=:nome, "
                            "apelido=:apelido, cpf_cnpj=:cpf_cnpj, endereco=:endereco, "
                            "endereco_obs=:endereco_obs,"));
    q.addSql(QStringLiteral("numero=:numero, bairro=:bairro, cidade=:cidade, estado=:estado, "
                            "fone=:fone, celular=:celular, grupo=:grupo, grupo_id=:grupo_id, "
                            "cep=:cep,  gps_latitude=:gps_latitude, gps_longitude=:gps_longitude "
                            "where id=:id"));
    q.bind(QStringLiteral(":id"), id);
    bindColunas(q, f, cfg);
    if (q.exec() != 1) throw DbError(QStringLiteral("cliente %1 não encontrado").arg(id));
}

bool Cliente_Carregar(db::Connection& c, const QString& cpf, const QString& nome,
                      TCliente_Registro& r) {
    const bool porNome = !nome.trimmed().isEmpty() && cpf.trimmed().isEmpty();
    if (cpf.trimmed().isEmpty() && !porNome) return false;
    db::Query q(c);
    q.clearSql();
    // An empty document or id 0 would match the customers stored without either.
    q.addSql(
        QStringLiteral("select * from clientes where ((((cpf_cnpj=:cpf_cnpj) or "
                       "(cpf_cnpj=:cpf_cnpj2)) and (cpf_cnpj<>'')) or ((id=:id) and (id<>0)))"));
    if (porNome) q.addSql(QStringLiteral(" or (nome=:nome)"));
    q.bind(QStringLiteral(":cpf_cnpj"), cpf.trimmed());
    q.bind(QStringLiteral(":cpf_cnpj2"), SoNumeros(cpf));
    q.bind(QStringLiteral(":id"), StringToInteger(cpf));
    if (porNome) q.bind(QStringLiteral(":nome"), nome.trimmed());
    q.open();
    if (q.eof()) return false;
    auto texto = [&](const char* coluna) {
        return q.field(QString::fromLatin1(coluna)).asString();
    };
    r.id = q.field(QStringLiteral("id")).asInteger();
    r.cpf_cnpj = SoNumeros(texto("cpf_cnpj"));
    r.nome = texto("nome");
    r.endereco = texto("endereco");
    r.bairro = texto("bairro");
    r.numero = texto("numero");
    r.cep = texto("cep");
    r.fone = texto("fone");
    r.estado = texto("estado");
    r.cidade = texto("cidade");
    return true;
}

namespace {
QStringList coluna(db::Connection& c, const QString& sql) {
    db::Query q(c);
    q.setSql(sql);
    q.open();
    QStringList r;
    for (; !q.eof(); q.next())
        r.append(q.field(0).asString());
    return r;
}
} // namespace

QStringList Clientes_Estados(db::Connection& c) {
    return coluna(c, QStringLiteral("select uf from cidades group by uf order by uf"));
}

QStringList Clientes_Cidades(db::Connection& c) {
    return coluna(c, QStringLiteral("select cidade from cidades group by cidade order by cidade"));
}

QStringList Clientes_Nomes(db::Connection& c) {
    return coluna(c, QStringLiteral("select nome from clientes order by nome"));
}

QString CEP_Host() {
    const QString host = qEnvironmentVariable("ONDAVIA_CEP_HOST");
    return host.isEmpty() ? QString::fromLatin1(CEP_HOST_FIXO) : host;
}

namespace {

// A postal address is a few hundred bytes; anything larger is not the service.
constexpr qsizetype CEP_Limite_Resposta = 64 * 1024;

} // namespace

bool CEP_Buscar(const QString& cep, TCEP& r) {
    const QString digitos = SoNumeros(cep);
    if (digitos.size() != 8) return false;
    const std::optional<QByteArray> corpo = Http_Get_Curto(
        CEP_Host() + QStringLiteral("/ws/") + digitos + QStringLiteral("/json"),
        CEP_Limite_Resposta);
    if (!corpo) return false;

    try {
        JsonDocumento doc(*corpo);
        const JsonValor raiz = doc.raiz();
        if (!raiz.isObjeto()) return false;
        TCEP lido;
        lido.cep = raiz.texto(QStringLiteral("cep"));
        lido.logradouro = raiz.texto(QStringLiteral("logradouro"));
        lido.bairro = raiz.texto(QStringLiteral("bairro"));
        lido.complemento = raiz.texto(QStringLiteral("complemento"));
        lido.uf = raiz.texto(QStringLiteral("uf"));
        lido.localidade = raiz.texto(QStringLiteral("localidade"));
        r = lido;
        return true;
    } catch (const Error&) {
        return false;
    }
}

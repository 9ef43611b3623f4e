#include "Credito_Core.h"

#include "foundation/Database.h"
#include "foundation/QueloUtil_Unit.h"

namespace {

const QString MASCARA = QStringLiteral("0.00,");

// The document as typed, or its digits against the stored document's digits, so the
// registry matches whether either side carries punctuation; no digits match nobody.
const QString POR_DOCUMENTO = QStringLiteral(
    "select * from clientes where ((cpf_cnpj=:cpf_cnpj) or ((:cpf_cnpj2<>'') and "
    "(replace(replace(replace(replace(cpf_cnpj, '.', ''), '-', ''), '/', ''), ' ', '')"
    "=:cpf_cnpj2)))");

} // namespace

TCredito_Resultado Credito_Validar(db::Connection& c, const QString& ClieCPF, double prazo,
                                   double cheque) {
    TCredito_Resultado r;
    const double S = prazo + cheque;
    if (ClieCPF.trimmed().isEmpty() || S <= 0) return r;

    db::Query q(c);
    q.setSql(POR_DOCUMENTO);
    q.bind(QStringLiteral(":cpf_cnpj"), ClieCPF.trimmed());
    q.bind(QStringLiteral(":cpf_cnpj2"), SoNumeros(ClieCPF));
    q.open();
    // An unknown document reads as no credit at all.
    const bool achou = !q.eof();
    const double limite = achou ? q.field(QStringLiteral("cred_limite")).asFloat() : 0;
    const double restante = achou ? q.field(QStringLiteral("cred_restante")).asFloat() : 0;
    const QString credito = achou ? q.field(QStringLiteral("credito")).asString() : QString();
    r.Consultado = true;
    r.Lab_Cred_Limite = QStringLiteral("R$ ") + FormatFloat(MASCARA, limite);
    r.Lab_Cred_Restante = QStringLiteral("R$ ") + FormatFloat(MASCARA, restante);
    r.Lab_Cred_Situacao = credito;

    const QString situacao = credito.trimmed();
    if (situacao == QStringLiteral("Avaliacao")) return r;
    if (situacao != QStringLiteral("Concedido")) {
        r.Aprovado = false;
        r.Titulo = QStringLiteral("Cliente Negativado!");
        r.Alerta = QStringLiteral("O Cliente encontra-se com crédito negativado no sistema.");
    } else if (S > limite) {
        r.Aprovado = false;
        r.Titulo = QStringLiteral("Acima do Credito!");
        r.Alerta = QStringLiteral("A compra está acima do limite de crédito deste cliente.");
    } else if (S > restante) {
        r.Aprovado = false;
        r.Titulo = QStringLiteral("Alerta de Crédito!");
        r.Alerta =
            QStringLiteral("O cliente não tem credito restante suficiente para esta compra.");
    }
    return r;
}

TCliente_Venda Abre_Cliente(db::Connection& c, const QString& cpf, const QDate& hoje) {
    TCliente_Venda r;
    r.Nasc = hoje;
    r.Lab_Client_Nome = QStringLiteral("Cliente não identificado");
    r.Lab_Client_CPF = QStringLiteral("Utilize as tecla [F11] para buscar uma ");
    r.Lab_Client_End = QStringLiteral("cliente já cadastrado ou clique na ");
    r.Lab_Client_Bairro = QStringLiteral("tecla [Ins] para inserir um novo cliente.");
    if (cpf.trimmed().isEmpty()) return r;

    db::Query q(c);
    q.setSql(POR_DOCUMENTO);
    q.bind(QStringLiteral(":cpf_cnpj"), cpf.trimmed());
    q.bind(QStringLiteral(":cpf_cnpj2"), SoNumeros(cpf));
    q.open();
    if (q.eof()) return r;
    auto texto = [&](const char* coluna) {
        return q.field(QString::fromLatin1(coluna)).asString();
    };
    r.Encontrado = true;
    r.id = q.field(QStringLiteral("id")).asInteger();
    r.CPF = SoNumeros(texto("cpf_cnpj"));
    r.Nome = texto("nome");
    r.Endereco = texto("endereco");
    r.Numero = texto("numero");
    r.Bairro = texto("bairro");
    r.Cidade = texto("cidade");
    r.Estado = texto("estado");
    r.CEP = SoNumeros(texto("cep"));
    r.Fone = FormataTelefone(texto("fone"));
    r.Nasc = q.field(QStringLiteral("nascimento")).asDate();
    r.Referencia = texto("endereco_obs");

    r.Lab_Client_Nome = r.Nome;
    r.Lab_Client_CPF = QStringLiteral("CPF: ") + r.CPF;
    r.Lab_Client_Nasc = QStringLiteral("Nasc:") + r.Nasc.toString(QStringLiteral("dd/MM/yyyy"));
    r.Lab_Client_End = r.Endereco + QStringLiteral(", N°: ") + r.Numero;
    r.Lab_Client_Bairro =
        r.Bairro + QStringLiteral(", ") + r.Cidade + QStringLiteral(" - ") + r.Estado;
    r.Lab_Client_CEP =
        QStringLiteral("CEP: ") + texto("cep") + QStringLiteral("   Fone:") + texto("fone");
    return r;
}

QList<TFuncionario> Vendedores_Lista(db::Connection& c) {
    db::Query q(c);
    q.setSql(QStringLiteral("select * from funcionarios order by nome"));
    q.open();
    QList<TFuncionario> r;
    while (!q.eof()) {
        r.append({q.field(QStringLiteral("id")).asInteger(),
                  q.field(QStringLiteral("nome")).asString()});
        q.next();
    }
    return r;
}

QStringList Planos_Lista(db::Connection& c) {
    db::Query q(c);
    q.setSql(QStringLiteral("select plano from pagamentos order by plano"));
    q.open();
    QStringList r;
    while (!q.eof()) {
        r << q.field(QStringLiteral("plano")).asString();
        q.next();
    }
    return r;
}

QStringList Operadoras_Lista(db::Connection& c) {
    db::Query q(c);
    q.setSql(QStringLiteral("select operadora from cartoes order by operadora"));
    q.open();
    QStringList r;
    for (; !q.eof(); q.next())
        r << q.field(QStringLiteral("operadora")).asString();
    return r;
}

#include "Schema.h"

#include "Database.h"

// Dates and date-times are declared TEXT and hold "YYYY-MM-DD" / "YYYY-MM-DD HH:MM:SS".
// A DATE or DATETIME declaration would get NUMERIC affinity, which turns any such text
// that happens to read as a number into one; TEXT keeps exactly what was written.
//
// Numbers default to 0 and texts to '', so columns that no statement writes (and those
// left out by an INSERT OR REPLACE) read as 0 or empty rather than NULL. Every `id` is an
// INTEGER PRIMARY KEY: INSERT OR REPLACE replaces by it, and an insert without it gets
// the next free number.

QStringList Schema_DDL() {
    return {
        // Sales rung up at this terminal.
        QStringLiteral(R"(CREATE TABLE venda (
    id INTEGER PRIMARY KEY,
    venda_cod TEXT DEFAULT '',
    Dt_Venda TEXT,
    venda_dt_pedido TEXT,
    venda_status INTEGER DEFAULT 0,
    concluido INTEGER DEFAULT 0,
    venda_frete REAL DEFAULT 0,
    venda_desconto REAL DEFAULT 0,
    venda_acrecimo REAL DEFAULT 0,
    venda_total REAL DEFAULT 0,
    venda_obs TEXT DEFAULT '',
    cliente_id INTEGER DEFAULT 0,
    cliente_cpf TEXT DEFAULT '',
    entreg_endereco TEXT DEFAULT '',
    entreg_cidade TEXT DEFAULT '',
    entreg_bairro TEXT DEFAULT '',
    entreg_cep TEXT DEFAULT '',
    vendedor_id INTEGER DEFAULT 0,
    entregador_id INTEGER DEFAULT 0,
    plano_id INTEGER DEFAULT 0,
    plano_parcelas INTEGER DEFAULT 0,
    plano_dt_primeira TEXT,
    plano_periodic INTEGER DEFAULT 0,
    plano_carencia INTEGER DEFAULT 0,
    venda_dt_dia INTEGER DEFAULT 0,
    venda_dt_mes INTEGER DEFAULT 0,
    venda_dt_ano INTEGER DEFAULT 0,
    entrada REAL DEFAULT 0,
    pix REAL DEFAULT 0,
    cheque REAL DEFAULT 0,
    cartao REAL DEFAULT 0,
    ticket REAL DEFAULT 0,
    prazo REAL DEFAULT 0,
    troco REAL DEFAULT 0
))"),
        QStringLiteral(R"(CREATE TABLE venda_produtos (
    id INTEGER PRIMARY KEY,
    venda_id INTEGER DEFAULT 0,
    venda_cod TEXT DEFAULT '',
    prod_id INTEGER DEFAULT 0,
    produto TEXT DEFAULT '',
    prod_cbarra TEXT DEFAULT '',
    prod_medida TEXT DEFAULT '',
    prod_venda REAL DEFAULT 0,
    prod_qtd REAL DEFAULT 0,
    prod_total REAL DEFAULT 0,
    prod_desc REAL DEFAULT 0,
    prod_descCC REAL DEFAULT 0,
    Prod_Acrec REAL DEFAULT 0,
    prod_geral REAL DEFAULT 0,
    concluido INTEGER DEFAULT 0,
    apagado INTEGER DEFAULT 0
))"),
        QStringLiteral(R"(CREATE TABLE venda_cartao (
    venda_id INTEGER DEFAULT 0,
    venda_cod TEXT DEFAULT '',
    cliente TEXT DEFAULT '',
    operadora TEXT DEFAULT '',
    forma TEXT DEFAULT '',
    valor REAL DEFAULT 0,
    parcelas INTEGER DEFAULT 0
))"),
        QStringLiteral(R"(CREATE TABLE venda_cheque (
    venda_id INTEGER DEFAULT 0,
    venda_cod TEXT DEFAULT '',
    cliente TEXT DEFAULT '',
    cliente_cpf TEXT DEFAULT '',
    banco TEXT DEFAULT '',
    agencia TEXT DEFAULT '',
    conta TEXT DEFAULT '',
    numero TEXT DEFAULT '',
    dt_compensacao TEXT
))"),
        QStringLiteral(R"(CREATE TABLE vendas_descontos (
    venda_id INTEGER DEFAULT 0
))"),

        // Catalogue and registers copied from the cloud account.
        QStringLiteral(R"(CREATE TABLE produtos (
    id INTEGER PRIMARY KEY,
    ativo INTEGER DEFAULT 1,
    dt_cadastro TEXT,
    grupo_id INTEGER DEFAULT 0,
    grupo TEXT DEFAULT '',
    produto TEXT DEFAULT '',
    tamanho TEXT DEFAULT '',
    marca TEXT DEFAULT '',
    cbarra TEXT DEFAULT '',
    custo REAL DEFAULT 0,
    lucro REAL DEFAULT 0,
    venda REAL DEFAULT 0,
    desconto REAL DEFAULT 0,
    promocao REAL DEFAULT 0,
    promocao_min REAL DEFAULT 0,
    dt_promocao TEXT,
    medida TEXT DEFAULT '',
    estoque REAL DEFAULT 0
))"),
        QStringLiteral(R"(CREATE TABLE clientes (
    id INTEGER PRIMARY KEY,
    cod TEXT DEFAULT '',
    ativo INTEGER DEFAULT 1,
    tipo TEXT DEFAULT '',
    nome TEXT DEFAULT '',
    apelido TEXT DEFAULT '',
    cpf_cnpj TEXT DEFAULT '',
    rg_ie TEXT DEFAULT '',
    endereco TEXT DEFAULT '',
    endereco_obs TEXT DEFAULT '',
    numero TEXT DEFAULT '',
    bairro TEXT DEFAULT '',
    cidade TEXT DEFAULT '',
    estado TEXT DEFAULT '',
    cep TEXT DEFAULT '',
    fone TEXT DEFAULT '',
    celular TEXT DEFAULT '',
    email TEXT DEFAULT '',
    nascimento TEXT,
    grupo TEXT DEFAULT '',
    grupo_id INTEGER DEFAULT 0,
    gps_latitude REAL DEFAULT 0,
    gps_longitude REAL DEFAULT 0,
    dt_cadastro TEXT,
    dt_ultatend TEXT,
    ultatend INTEGER DEFAULT 0,
    atend_tipo INTEGER DEFAULT 0,
    cred_limite REAL DEFAULT 0,
    cred_restante REAL DEFAULT 0,
    credito TEXT DEFAULT ''
))"),
        QStringLiteral(R"(CREATE TABLE funcionarios (
    id INTEGER PRIMARY KEY,
    nome TEXT DEFAULT '',
    ativo INTEGER DEFAULT 1
))"),
        QStringLiteral(R"(CREATE TABLE cidades (
    id INTEGER PRIMARY KEY,
    uf TEXT DEFAULT '',
    cidade TEXT DEFAULT ''
))"),
        QStringLiteral(R"(CREATE TABLE rotas (
    id INTEGER PRIMARY KEY,
    rota TEXT DEFAULT ''
))"),
        QStringLiteral(R"(CREATE TABLE pagamentos (
    id INTEGER PRIMARY KEY,
    ativo INTEGER DEFAULT 1,
    plano TEXT DEFAULT '',
    tipo TEXT DEFAULT '',
    entrada REAL DEFAULT 0,
    carencia INTEGER DEFAULT 0,
    alt_carencia INTEGER DEFAULT 0,
    parcelas INTEGER DEFAULT 0,
    periodicidade INTEGER DEFAULT 0,
    acrecimo REAL DEFAULT 0
))"),
        QStringLiteral(R"(CREATE TABLE cartoes (
    id INTEGER PRIMARY KEY,
    ativo INTEGER DEFAULT 1,
    operadora TEXT DEFAULT '',
    credito INTEGER DEFAULT 0,
    debito INTEGER DEFAULT 0
))"),
        QStringLiteral(R"(CREATE TABLE mensagens (
    id INTEGER PRIMARY KEY,
    tipo TEXT DEFAULT '',
    dt_update TEXT,
    dt_visualiza TEXT,
    msg TEXT DEFAULT '',
    user_id INTEGER DEFAULT 0,
    user_name TEXT DEFAULT '',
    destinatario TEXT DEFAULT '',
    destinatario_id INTEGER DEFAULT 0
))"),

        // Lookups of the sale screen, the item list, the reports and the synchronisation
        // (which deletes customers by document once per customer it receives).
        QStringLiteral("CREATE INDEX produtos_cbarra ON produtos (cbarra)"),
        QStringLiteral("CREATE INDEX venda_concluido ON venda (concluido)"),
        QStringLiteral("CREATE INDEX venda_dt_venda ON venda (Dt_Venda)"),
        QStringLiteral("CREATE INDEX venda_produtos_venda_id ON venda_produtos (venda_id)"),
        QStringLiteral("CREATE INDEX venda_produtos_venda_cod ON venda_produtos (venda_cod)"),
        QStringLiteral("CREATE INDEX clientes_cpf_cnpj ON clientes (cpf_cnpj)"),
    };
}

void Schema_Criar(db::Connection& connection) {
    db::Transaction transaction(connection);
    for (const QString& statement : Schema_DDL())
        connection.exec(statement);
    transaction.commit();
}

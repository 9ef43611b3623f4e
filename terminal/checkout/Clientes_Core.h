#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace db {
class Connection;
}
struct TSettings;

// The customer registry: the list's search, the registration's checks and insert, and
// the postal-code lookup. Every statement binds its values.

// One row of the customer list.
struct TCliente_Linha {
    qint32 id = 0;
    QString nome;
    QString apelido;
    QString cpf_cnpj;
    QString cidade;
    QString credito;
};

// The customers whose id, cpf_cnpj or rg_ie equals the trimmed text, or whose name or
// nickname holds its words in order ("jo si" finds "Jose da Silva"). At most 50, in name
// order; an empty text lists the first 50.
QList<TCliente_Linha> Clientes_Pesquisar(db::Connection& c, const QString& texto);

// The texts of a row: the name in upper case, with " - [NICKNAME]" when the nickname
// differs; "0042  |  CPF/CNPJ: ..."; the city.
QString Clientes_Lista_Linha1(const TCliente_Linha& l);
QString Clientes_Lista_Linha2(const TCliente_Linha& l);
// The name is painted red unless credit is granted.
bool Clientes_Lista_Sem_Credito(const TCliente_Linha& l);

// Another customer (id other than `Venda_Cliente_ID`) is stored with the digits of
// `cpf`. A text without digits has no duplicate.
bool Cliente_CPF_Duplicado(db::Connection& c, const QString& cpf, qint32 Venda_Cliente_ID);
// A valid CPF or CNPJ; an invalid one only colours the field.
bool Cliente_Documento_Valido(const QString& cpf);

// What the registration form holds. `estado` and `cidade` are the entries picked from
// the lists; empty when the typed text is none of them.
struct TCliente_Form {
    QString cpf;
    QString nome;
    QString cep;
    QDate nascimento;
    QString fone;
    QString endereco;
    QString numero;
    QString bairro;
    QString estado_digitado;
    QString cidade_digitada;
    QString estado;
    QString cidade;
    QString referencia;
};

enum class Campo_Cliente { Nenhum, CPF, Nome, CEP, Estado, Cidade, Endereco, Bairro, Numero, Fone };

struct TCliente_Validacao {
    Campo_Cliente campo = Campo_Cliente::Nenhum; // Nenhum: the form may be saved
    QString mensagem;
    bool esvaziar = false; // the field is cleared as well
};

// The registration's checks in the order the operator meets them. Rewrites the form as
// they go: the CEP and the telephone formatted, an empty number as "SN".
TCliente_Validacao Cliente_Validar(TCliente_Form& f);

// The last guard before the insert: the alert and field of a form lacking the CPF's
// digits, the name or the telephone's digits; Nenhum when it may be inserted.
TCliente_Validacao Cliente_Salva_Conferir(const TCliente_Form& f);

// `cod` of a new customer: MD5 of the company id, seller id, the moment as
// "yyyyMMddHHmmss", the new id and the first 58 characters of the name as typed.
QString Cliente_Codigo(qint32 Emp_ID, qint32 Vendedor_ID, const QDateTime& agora, qint32 id,
                       const QString& nome);

// Inserts the customer with the next id and returns it; throws DbError. The city and the
// state fall back to the company's when none was picked from the lists.
qint32 Cliente_Salva(db::Connection& c, const TCliente_Form& f, const TSettings& cfg,
                     const QDateTime& agora = QDateTime::currentDateTime());

// Rewrites a customer loaded into the form with the same value rules as the insert;
// its id, code, credit status and registration day stay. Throws DbError.
void Cliente_Atualiza(db::Connection& c, qint32 id, const TCliente_Form& f, const TSettings& cfg);

// A stored customer, as the registration form shows it.
struct TCliente_Registro {
    qint32 id = 0;
    QString cpf_cnpj; // digits only
    QString nome;
    QString endereco;
    QString bairro;
    QString numero;
    QString cep;
    QString fone;
    QString estado;
    QString cidade;
};

// The customer with that document (as typed or its digits) or that id, or, when `cpf` is
// empty and `nome` is not, that exact name. False when none; throws DbError.
bool Cliente_Carregar(db::Connection& c, const QString& cpf, const QString& nome,
                      TCliente_Registro& r);

// The state and city lists of the form.
QStringList Clientes_Estados(db::Connection& c);
QStringList Clientes_Cidades(db::Connection& c);
QStringList Clientes_Nomes(db::Connection& c);

// The public postal-code service; ONDAVIA_CEP_HOST replaces it with a base address
// that includes the scheme ("http://127.0.0.1:8080").
QString CEP_Host();

struct TCEP {
    QString cep;
    QString logradouro;
    QString bairro;
    QString complemento;
    QString uf;
    QString localidade;
};

// GET host + "/ws/" + the 8 digits + "/json". False for any failure: no connection, a
// status other than 200, a body that is not JSON or lacks a member (the service's answer
// for an unknown CEP). Blocks for at most 15 seconds.
bool CEP_Buscar(const QString& cep, TCEP& r);

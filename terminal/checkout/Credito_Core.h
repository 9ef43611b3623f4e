#pragma once

#include "sale/Listas_Core.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace db {
class Connection;
}

// The checkout's customer page: who the sale's customer is and whether the shop may lend
// to them the credit ("A Prazo") and cheque parts of the sale.

inline const QString CLIENTE_TITULO = QStringLiteral("Identificação do Cliente");
inline const QString CLIENTE_ALERTA = QStringLiteral("Preencha corretamente os dados de Entrega.");

struct TCredito_Resultado {
    bool Aprovado = true;
    QString Titulo = CLIENTE_TITULO;
    QString Alerta = CLIENTE_ALERTA;
    // The credit boxes are rewritten only when the customer was looked up.
    bool Consultado = false;
    QString Lab_Cred_Limite, Lab_Cred_Situacao, Lab_Cred_Restante;
};

// Credit plus cheque against the customer's status, limit and remaining credit. A sale
// without a customer or without anything lent passes. Throws DbError.
TCredito_Resultado Credito_Validar(db::Connection& c, const QString& ClieCPF, double prazo,
                                   double cheque);

// The sale's customer and the texts of the customer card.
struct TCliente_Venda {
    bool Encontrado = false;
    qint32 id = 0;
    QString CPF; // digits
    QString Nome, Endereco, Numero, Bairro, Cidade, Estado, CEP, Fone, Referencia;
    QDate Nasc;
    QString Lab_Client_Nome, Lab_Client_CPF, Lab_Client_Nasc, Lab_Client_End, Lab_Client_Bairro,
        Lab_Client_CEP;
};

// The customer stored with the document as typed or with its digits. An empty document is
// nobody, not the customers stored without one. Throws DbError.
TCliente_Venda Abre_Cliente(db::Connection& c, const QString& cpf, const QDate& hoje);

// Every employee for the checkout's seller and courier lists, in name order.
QList<TFuncionario> Vendedores_Lista(db::Connection& c);
// The card operators, in order.
QStringList Operadoras_Lista(db::Connection& c);
// The plan list's names, in order.
QStringList Planos_Lista(db::Connection& c);

#pragma once

#include "sale/Venda_Core.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace db {
class Connection;
}

// The checkout's figures, card list, instalment schedule, refusals and save. The window
// reads its fields into these structs, calls these functions and shows what they return.

// Texts of the checkout's amount fields, as the operator sees them.
struct TFinaliza_Campos {
    QString Lab_Cupom_Total; // the sale total, with the money mask
    QString Edt_PG_Dinheiro = QStringLiteral("0,00");
    QString Edt_PG_PIX = QStringLiteral("0,00");
    QString Edt_PG_Cartao = QStringLiteral("0,00");
    QString Edt_PG_Cheque = QStringLiteral("0,00");
    QString Edt_PG_Restante = QStringLiteral("0,00");
    QString Edt_PG_Troco = QStringLiteral("0");
};

struct TFinaliza_Calc {
    double T = 0, D = 0, P = 0, C = 0, K = 0;
    double R = 0;            // credit, never below 0
    double X = 0;            // total minus what was paid; below 0 is change
    TFinaliza_Campos Campos; // the fields rewritten
    bool Troco_Visivel = false;
    bool Restante_Visivel = true;
};

// Recompute: reads total, cash, PIX, cheque and card from the texts (cheque and card count
// only while cash and PIX leave something open) and gives back every field's text.
TFinaliza_Calc Venda_Finaliza_Calc(const TFinaliza_Campos& campos);

// Instalment ceiling of the form: 1 for "Débito", 100 otherwise.
int Cartao_Parcelas_Max(const QString& forma);

// What the card page holds when "Adicionar" is pressed.
struct TCartao_Entrada {
    QString Forma;          // Cbx_Cart_Forma's selection, empty when none
    double Parcelas = 1;    // Spn_Cart_Parcelas
    QString Valor;          // Edt_Cart_Valor
    QString Proprietario;   // Edt_Cart_Prorietario
    QString Operadora;      // Cbx_Cart_Operad's selection, empty when none
    QStringList Operadoras; // Cbx_Cart_Operad's items
    QString Edt_PG_Cartao;  // the checkout's card amount
};

struct TCartao_Resultado {
    bool Adicionado = false;
    QString Mensagem;           // refusal, empty when added
    QString Foco;               // objectName of the control to focus
    bool Mostra_Pagina = false; // refusal that shows the card page
    QString Edt_Cart_Valor;     // when added: what is left to cover
    double Total_Cartao = 0;    // when added: the new sum
    bool Finalizar = false;     // when added: the card amount is covered
};

// "Adicionar" on the card page. On a refusal the table is untouched.
TCartao_Resultado Cartao_Adicionar(TDSet_Cartao& cartoes, const TCartao_Entrada& e);

// Card amount minus what the rows cover, "0,00" when they cover it all.
QString Cartao_Valor_Restante(double cartao, double Total_Cartao);

// The texts of one line of the card list: operator, "Cré"/"Déb", "3x", "R$ 60,00".
struct TCartao_Textos {
    QString Operadora, Forma, Parcelas, Valor;
};
TCartao_Textos Cartao_Linha_Textos(const TCartao_Linha& linha);

// A payment plan as the plan page holds it.
struct TPlano {
    qint32 Plano_ID = 0;
    QString Plano_Nome;
    qint32 Plano_Parcelas = 1;
    double Plano_Acrecimo = 0;
    qint32 Plano_Periodicidade = 30;
    qint32 Plano_Carencia = 0;
    qint32 Plano_Alt_Carencia = 0;
    QDate Plano_Dt_Primeira;
    bool Data_Habilitada = true;
    bool Parcelas_Habilitada = true;
};

// Looks the plan up by id or by name; "Não informado" with id 0 when there is none.
// Throws DbError.
TPlano Plano_Abre(db::Connection& c, const QString& plano, qint32 id, const QDate& hoje);
// Copies the plan into the sale's fields.
void Plano_Aplica(TVenda& venda, const TPlano& plano);

struct TPlano_Linha {
    QDate Data;
    QString Parcela; // "01° PACELA DE 03"
    QString Dia;     // "15/04 Seg"
    QString Valor;   // "R$ 33,33"
};

// The schedule: n instalments from the first date, monthly when the period is 30, else
// that many days apart; each line shows the credit amount over n.
QList<TPlano_Linha> Plano_List(const QDate& primeira, double parcelas, double prazo,
                               qint32 periodicidade);

// The cheque page.
struct TCheque {
    QString Cliente, CPF, Banco, Numero, Agencia, Conta;
    QDate Dt_Compensacao;
};

enum class Finaliza_Pagina { Cliente, Cartao, Cheque, Restante, Pix };

enum class Finaliza_Recusa {
    Nenhuma,           // save
    Vendedor,          // no seller selected
    Credito,           // credit check refused
    Valores,           // nothing to pay
    Cheque,            // cheque page incomplete
    Pix,               // request the PIX charge
    Cartao_Vazio,      // prepare the card page
    Cartao_Incompleto, // card rows do not cover the card amount
    Plano,             // credit without a plan: the plan page's red warning
    Pagina,            // finalised from another page: back to the customer page first
    Cliente            // credit or cheque without an identified customer
};

// What finalising needs to know besides the amounts.
struct TFinaliza_Estado {
    bool Vendedor_Selecionado = false;
    bool Credito_Aprovado = true; // answer of the credit check for the sale's customer
    bool pix_ok = false;
    qint32 Plano_ID = 0;
    qint32 Venda_Cliente_ID = 0;
    Finaliza_Pagina Pagina_Atual = Finaliza_Pagina::Cliente;
    TCheque Cheque;
};

struct TFinaliza_Passo {
    Finaliza_Recusa Recusa = Finaliza_Recusa::Nenhuma;
    QString Mensagem; // empty when the refusal only changes page and focus
    bool Mostra_Pagina = false;
    Finaliza_Pagina Pagina = Finaliza_Pagina::Cliente;
    QString Foco; // objectName of the control to focus, empty for none
};

// The checks of finalising, in their order; the first refusal, or Nenhuma to save.
TFinaliza_Passo Finaliza_Validar(const TFinaliza_Campos& campos, const TFinaliza_Estado& estado,
                                 const TDSet_Cartao& cartoes);

// The cheque row, replaced by sale code: an earlier conclusion's row always goes, and none
// is written when the cheque amount is zero. Runs inside the caller's transaction.
void Venda_Cadastra_Cheque(db::Connection& c, qint32 venda_id, const QString& venda_cod,
                           double cheque, const TCheque& dados);
// The card rows, replaced by sale id in the same way; none when the card amount is zero.
void Venda_Cadastra_Cartao(db::Connection& c, qint32 venda_id, const QString& venda_cod,
                           double cartao, const TDSet_Cartao& cartoes);

// Concludes the sale: its row, its items, its cheque and card rows, all or nothing.
// Throws DbError and leaves the database as it was.
void Venda_Finaliza_Grava(db::Connection& c, const TVenda& venda, const TFinaliza_Campos& campos,
                          qint32 Vendedor_ID, qint32 Entregador_ID, const TCheque& cheque,
                          const TDSet_Cartao& cartoes, const QDate& hoje);

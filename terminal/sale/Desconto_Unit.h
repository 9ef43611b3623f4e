#pragma once

#include "widgets/PainelModal.h"
#include "widgets/Soltura.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TPrincipal;

// The two discount windows, "Desconto Total" (the whole sale) and "Desconto no Item"
// (one item). Both take a discount in money or percent, or the new total, keep the two
// in step, paint them red beyond the discount limit, and then ask a supervisor's
// permission before they store it. A new window for every discount.
class TDesconto : public PainelModal {
public:
    QComboBox* Cbx_TipoDesc = nullptr; // 0 money, 1 percent
    QLineEdit* Edt_Desconto = nullptr;
    QLabel* Lab_Total_Novo = nullptr;
    QLineEdit* Edt_Novo_Total = nullptr;
    QPushButton* Rct_BtVender = nullptr; // "OK - [F3]"; F3 itself does nothing here
    QPushButton* Rct_BtCancel = nullptr;

    bool OK = false; // Enter already moved to the OK button

    // The new total is beyond the limit: red, and the OK button asks for permission.
    bool Limite() const { return m_limite; }

    void Calc_Desconto();   // from the discount box
    void Calc_Novo_Total(); // from the new-total box
    void Rct_BtVenderClick();

protected:
    TDesconto(TPrincipal& principal, const QString& nome, const QString& titulo, QWidget* parent);

    virtual double Base() const = 0;
    virtual void Desconto_Calculado(double /*novo_total*/) {}
    virtual void Gravar(double novo_total) = 0;

    bool Percentual() const;
    void Pintar(bool limite);

    bool eventFilter(QObject* watched, QEvent* event) override;

    TPrincipal& m_principal;

private:
    bool m_limite = false;
    Soltura m_soltura;
};

class TDesconto_Geral : public TDesconto {
public:
    explicit TDesconto_Geral(TPrincipal& principal, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    double Base() const override;
    void Gravar(double novo_total) override;
};

class TDesconto_Item : public TDesconto {
public:
    explicit TDesconto_Item(TPrincipal& principal, QWidget* parent = nullptr);

    qint64 Item_ID = 0;    // set by the opener
    double Item_Valor = 0; // the item's total before discount
    double Item_Desc = 0;  // its discount

protected:
    void showEvent(QShowEvent* event) override;
    double Base() const override { return Item_Valor; }
    void Desconto_Calculado(double novo_total) override;
    void Gravar(double novo_total) override;
};

// F8 and the item row's pop-up menu: each checks that there is something to discount.
void Venda_DescontoGeral(TPrincipal& principal);
void Venda_DescontoItem(TPrincipal& principal);

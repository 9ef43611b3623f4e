#pragma once

#include "widgets/PainelModal.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TPrincipal;
struct TItemCancelamento;

// "Cancelamento de Item": takes an item out of the open sale, chosen as the last item,
// by its number in the sale screen's list, or by barcode. The item row is deleted and
// the sale discount stays as it was. A new window for every cancellation.
class TCancelar_Item : public PainelModal {
public:
    explicit TCancelar_Item(TPrincipal& principal, QWidget* parent = nullptr);

    qint64 ProdID = 0; // the item shown; 0 when none

    QComboBox* Cbx_TipoCancel = nullptr;
    QSpinBox* Spn_ItemID = nullptr;
    QLineEdit* Edt_CBarra = nullptr;
    QLabel* Lab_Prod_Nome = nullptr;
    QLabel* Lab_Prod_Line2 = nullptr;
    QLabel* Lab_Prod_Line3 = nullptr;
    QPushButton* Rct_BtVender = nullptr; // "Excluir Item"
    QPushButton* Rct_BtCancel = nullptr;

    void Cbx_TipoCancelChange();
    void Carregar_Numero(); // the item of the number shown
    void Buscar_CBarra();   // the item with the barcode typed
    void Rct_BtVenderClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int Linhas() const; // rows of the sale screen's item list
    void Mostrar(const TItemCancelamento& item);

    TPrincipal& m_principal;
};

// F4 (empty barcode) and "-" followed by a barcode in the sale screen's search box.
void Cancelamento_Item(TPrincipal& principal, const QString& cbarra);

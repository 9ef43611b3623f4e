#pragma once

#include "widgets/PainelModal.h"

#include <QString>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
struct TSettings;
class TDModule;
class TProdutos_Modelo;

namespace db {
class Connection;
}

// "Produtos encontrados": the catalogue search of the sale screen. It hands back the
// barcode of the product chosen in C_Barra (empty when nothing was chosen). Made once
// and opened as often as needed:
//     lista.Definir_Busca(texto);  // optional; otherwise the box starts empty
//     lista.exec();
//     if (!lista.C_Barra.isEmpty()) ...
class TProdutos_Lista : public PainelModal {
public:
    // The settings are read at every search, so a changed sort order applies at once.
    TProdutos_Lista(db::Connection& conexao, const TSettings& config, QWidget* parent = nullptr);
    // Searches on the data module's connection, whatever file it is on at the time.
    TProdutos_Lista(TDModule& DModule, const TSettings& config, QWidget* parent = nullptr);
    ~TProdutos_Lista() override;

    // The text searched when the window next opens; used once.
    void Definir_Busca(const QString& texto);

    QString C_Barra;
    QString Temp_Busca; // the search text at the last "VENDER"

    QLineEdit* Edt_Prod_Busca = nullptr;
    QPushButton* Btn_Prod_Busca = nullptr;
    QLabel* Lab_Aviso = nullptr;
    QListView* Lbx_Cupom = nullptr;
    QPushButton* Rct_BtVender = nullptr;
    QPushButton* Rct_BtCancel = nullptr;

    void Prod_Busca();
    void BtVender_Click();
    void reject() override; // Esc and "CANCELAR"

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int Linha_Selecionada() const; // -1 when none
    void Selecionar_Linha(int linha);
    void Mover_Selecao(int passo);
    void Escolher();

    db::Connection& m_conexao;
    const TSettings& m_config;
    QString m_busca_inicial;
    TProdutos_Modelo* m_modelo = nullptr;
};

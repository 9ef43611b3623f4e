#pragma once

#include "widgets/PainelModal.h"

class QLabel;
class QListView;
class QPushButton;
class QStandardItemModel;
class TDModule;

namespace db {
class Connection;
}

// "Lista de Entregadores": picks the courier of a sale. Made once and opened as often
// as needed; each opening starts with Funcionario_ID 0:
//     lista.exec();
//     if (lista.Funcionario_ID > 0) ...
class TFuncionarios_Lista : public PainelModal {
public:
    explicit TFuncionarios_Lista(db::Connection& conexao, QWidget* parent = nullptr);
    explicit TFuncionarios_Lista(TDModule& DModule, QWidget* parent = nullptr);

    qint32 Funcionario_ID = 0; // the employee chosen; 0 when none

    QLabel* Lab_Info = nullptr;
    QListView* Lbx_Funcionarios = nullptr;
    QPushButton* Rct_BtSelecionar = nullptr;
    QPushButton* Rct_BtCancel = nullptr;

    void BtSelecionar_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Carregar();

    db::Connection& m_conexao;
    QStandardItemModel* m_modelo = nullptr;
};

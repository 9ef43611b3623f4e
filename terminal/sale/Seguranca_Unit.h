#pragma once

#include "widgets/PainelModal.h"
#include "widgets/Soltura.h"

class QLineEdit;
class QPushButton;
class TPrincipal;

// "Controle de permissões !": someone with the right signs off, with their cloud e-mail
// and password, what the operator may not do alone. A new window for every question;
// Permissao() below is how the other windows ask.
class TSeguranca : public PainelModal {
public:
    TSeguranca(TPrincipal& principal, qint32 permissao_id, const QString& permissao_tipo,
               QWidget* parent = nullptr);

    qint32 permissao_id = 0;
    QString permissao_tipo;
    bool Permissao = false; // the cloud account's answer; no until "PERMITIR" gets a yes

    QLineEdit* Edt_Usuario_Email = nullptr;
    QLineEdit* Edt_Usuario_Password = nullptr;
    QPushButton* Rct_BtOK = nullptr;
    QPushButton* Rct_BtCancel = nullptr;

    void Rct_BtOKClick();
    void Rct_BtCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TPrincipal& m_principal;
    Soltura m_soltura;
};

// Asks for the right in a supervisor window; true when the cloud account granted it.
bool Permissao(TPrincipal& principal, qint32 permissao_id, const QString& permissao_tipo);

#pragma once

#include "cloud/Tarvel_Sincronia_Donwload_Unit.h"

#include <QObject>

class QPushButton;
class TPrincipal;

// The synchronisation on the main window: the drop-down with its three entries (also by
// keys: F5, the arrows and Enter), the start of a simple or full run, and the screen
// steps of the worker.
class TSincronia_Tela : public QObject, public ISincronia_Tela {
public:
    explicit TSincronia_Tela(TPrincipal& principal);

    void Img_UpdateClick();     // shows the drop-down
    void Img_Update_Simples();  // simple synchronisation
    void Img_Update_Completa(); // full synchronisation
    void Estacionar();          // parks the drop-down above the window
    bool Aberto() const;
    void Alert_Exe_Update(const QDateTime& data);

    void Iniciar_Sincronia() override;
    void Update_Title(const QString& Retorno_Titulo, const QString& Retorno_Mensag) override;
    void Update_Progress(const QString& Retorno_Titulo) override;
    void FinalizaSincronia(bool Ok, const QDateTime& Exe_Update) override;
    void Diagnostico(const QString& texto) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPushButton*> Entradas() const;
    TPrincipal& m_principal;
};

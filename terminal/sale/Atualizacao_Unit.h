#pragma once

#include "cloud/Atualizacao.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QVariantAnimation;
class TPrincipal;

// The update notice `Lyt_Update` of the login tab, shown in place of the sign-in box
// when the update site has a newer version, and the installer download it starts. The
// entry "Atualizar App" of the synchronisation drop-down and the download link of the
// login tab start the same download.
class TAtualizacao : public QWidget {
public:
    explicit TAtualizacao(TPrincipal& principal);

    static QString Texto_Aviso();

    // The version query, when the main window is shown; any failure is silent.
    void Atualizacao_webAPI();
    // The download; a second one in the same run does nothing.
    void Atualizacao_Baixar();
    // "BAIXAR DEPOIS": back to the sign-in box.
    void Atualizacao_Depois();

    QLabel* Lab_Update_Title = nullptr;
    QLabel* Lab_Update_New = nullptr;
    QPushButton* Rct_BtUpdate = nullptr;
    QLabel* Lab_BtUpdate = nullptr;
    QPushButton* Rct_BtUptd_Cancel = nullptr;
    QProgressBar* Progress_Update = nullptr;
    QVariantAnimation* ColorAnim_Update2 = nullptr;

private:
    QPushButton* Rct_Update_App() const;
    void Piscar_Atualizar_App(bool ligado);
    void Andamento(qint64 recebidos, qint64 total);
    void Redesenhar();

    TPrincipal& m_principal;
    TAtualizacao_Download m_download;
};

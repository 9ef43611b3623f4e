#pragma once

#include "Relatorio.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;

class TPreview_Folha;

// The preview of a prepared page: print, export to PDF, zoom and search. Modal; the
// print call returns when it is closed.
class TPreview : public QDialog {
    Q_OBJECT
public:
    TPreview(const Relatorio::TRelatorio& relatorio, const QString& documento,
             QWidget* parent = nullptr);

    const Relatorio::TRelatorio& Conteudo() const { return m_relatorio; }
    double Zoom() const { return m_zoom; }
    void Zoom_Definir(double zoom);
    void Zoom_Largura(); // the page's width fills the window
    // Finds the search box's text after the last hit, wrapping round; false when the
    // text is nowhere on the page.
    bool Localizar_Proximo();
    // The last hit: row and column of the text found; row -1 when none.
    int Achado_Linha() const { return m_achadoLinha; }
    int Achado_Coluna() const { return m_achadoColuna; }
    // False (and a message) when the file could not be written.
    bool Exportar_PDF(const QString& arquivo);

    QToolButton* Btn_Imprimir = nullptr;
    QToolButton* Btn_PDF = nullptr;
    QToolButton* Btn_Zoom_Menos = nullptr;
    QToolButton* Btn_Zoom_Mais = nullptr;
    QToolButton* Btn_Zoom_Largura = nullptr;
    QLineEdit* Edt_Localizar = nullptr;
    QToolButton* Btn_Fechar = nullptr;
    QLabel* Lab_Zoom = nullptr;
    QLabel* Lab_Status = nullptr;
    QScrollArea* Scr_Pagina = nullptr;

private:
    void Btn_ImprimirClick();
    void Btn_PDFClick();
    void Edt_LocalizarTextEdited();

    const Relatorio::TRelatorio& m_relatorio;
    QString m_documento;
    TPreview_Folha* m_folha = nullptr;
    double m_zoom = 1.0;
    int m_achadoLinha = -1;
    int m_achadoColuna = -1;

    friend class TPreview_Folha;
};

#pragma once

#include <QDialog>

class QHBoxLayout;
class QPropertyAnimation;
class QPushButton;
class QVBoxLayout;

// The frame of our modal windows: a white panel with the blue title bar on a grey
// backdrop, sliding in from the left at every opening. A window builds its content in
// Corpo() and may add to the title bar (an icon before the title, say).
class PainelModal : public QDialog {
public:
    // `nome` is the object name the backdrop's style keys on; `tamanho` is the window's
    // size when it does not cover its parent.
    PainelModal(const QString& nome, const QString& titulo, QSize tamanho,
                QWidget* parent = nullptr);

    // Fills the window less a margin, up to its maximum size, centred.
    QWidget* Rct_Painel = nullptr;

    QHBoxLayout* Titulo() const { return m_titulo; }
    QVBoxLayout* Corpo() const { return m_corpo; }

    // A coloured button of the panel, darker while pressed. Set its size and, when
    // another is wanted, its font.
    QPushButton* botao(const QString& texto, const QString& cor, const QString& nome);

protected:
    // Every opening then covers the parent's window.
    void Cobrir_Pai() { m_cobre_pai = true; }
    // The panel then slides in from the right edge instead of the left.
    void Entrar_Pela_Direita() { m_pela_direita = true; }

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void done(int resultado) override;

private:
    QRect Area_Painel() const;

    QHBoxLayout* m_titulo = nullptr;
    QVBoxLayout* m_corpo = nullptr;
    QPropertyAnimation* m_entrada = nullptr;
    bool m_cobre_pai = false;
    bool m_pela_direita = false;
};

#pragma once

#include <QDialog>
#include <QList>
#include <QPair>
#include <QString>

class QPropertyAnimation;
class QPushButton;

// "Instruções e Vídeos": the keyboard shortcuts of the sale screen (F1). Esc, Enter
// and "OK" close it. Made once and opened with exec().
class TAjuda : public QDialog {
public:
    explicit TAjuda(QWidget* parent = nullptr);

    // The keys and captions shown, in order.
    static QList<QPair<QString, QString>> Atalhos();

    QPushButton* Btn_OK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRect Area_Painel() const;

    QWidget* Rct_Painel = nullptr;
    QPropertyAnimation* m_entrada = nullptr;
};

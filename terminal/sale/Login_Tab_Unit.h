#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVariantAnimation;
class TPrincipal;

// The sign-in box of the login tab: the remembered e-mails, the masked password, the
// links, and the error signal.
class TLogin_Tab : public QWidget {
public:
    TLogin_Tab(TPrincipal& principal, QWidget* tab);

    QString Email_Texto() const;
    void Email_Definir(const QString& email);
    QStringList Emails() const;
    void Emails_Carregar(const QStringList& emails);
    void Focar_Email();
    // Puts a notice in the sign-in box's place, hidden until it is shown instead of it.
    void Colocar_Aviso(QWidget* aviso);

    // Signs in: the cloud account first (Login_webAPI), then the credentials saved in the
    // settings file.
    void Login_Entrar();
    // Asks the cloud account; set by the cloud services. Until then the sign-in is offline.
    std::function<void(const QString& email, const QString& senha)> Login_webAPI;

    // The error signal: the user picture swings and turns red while the title shows the
    // message; then the welcome texts come back.
    void Animat_Login_Erro(const QString& titulo);
    bool Erro_Animando() const;

    QWidget* Lyt_Login = nullptr;
    QWidget* Circ_Login_User = nullptr;
    QLabel* Lab_Login_Title = nullptr;
    QLabel* Lab_Login_Help = nullptr;
    QComboBox* Edt_Usuario_Email = nullptr;
    QLineEdit* Edt_Usuario_Password = nullptr;
    QPushButton* Rct_BtEntrar = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Boas_Vindas();

    TPrincipal& m_principal;
    QVariantAnimation* m_erro = nullptr;
};

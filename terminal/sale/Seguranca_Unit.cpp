#include "Seguranca_Unit.h"

#include "cloud/Seguranca_webAPI.h"
#include "sale/Principal_Unit.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

bool eEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TSeguranca::TSeguranca(TPrincipal& principal, qint32 id, const QString& tipo, QWidget* parent)
    : PainelModal(QStringLiteral("Seguranca"), QString::fromUtf8("Controle de permissões !"),
                  QSize(640, 420), parent),
      permissao_id(id), permissao_tipo(tipo), m_principal(principal) {
    auto* texto = new QLabel(QString::fromUtf8("Para efetuar essa ação é necessário que o usuário "
                                               "tenha permissões adicionais."),
                             Rct_Painel);
    texto->setObjectName(QStringLiteral("Lab_Info"));
    texto->setWordWrap(true);
    texto->setStyleSheet(QStringLiteral("color: #455A64; font-size: 15pt;"));
    Corpo()->addWidget(texto);

    auto* form = new QFormLayout;
    form->setVerticalSpacing(12);
    const QString estilo = QStringLiteral("QLineEdit { font-size: 16pt; padding: 6px; border: "
                                          "1px solid #90A4AE; border-radius: 4px; }");
    Edt_Usuario_Email = new QLineEdit(Rct_Painel);
    Edt_Usuario_Email->setObjectName(QStringLiteral("Edt_Usuario_Email"));
    Edt_Usuario_Password = new QLineEdit(Rct_Painel);
    Edt_Usuario_Password->setObjectName(QStringLiteral("Edt_Usuario_Password"));
    Edt_Usuario_Password->setEchoMode(QLineEdit::Password);
    for (QLineEdit* e : {Edt_Usuario_Email, Edt_Usuario_Password}) {
        e->setStyleSheet(estilo);
        e->installEventFilter(this);
    }
    auto legenda = [this](const QString& t) {
        auto* l = new QLabel(t, Rct_Painel);
        l->setStyleSheet(QStringLiteral("font-size: 15pt;"));
        return l;
    };
    form->addRow(legenda(QStringLiteral("E-Mail:")), Edt_Usuario_Email);
    form->addRow(legenda(QStringLiteral("Senha:")), Edt_Usuario_Password);
    Corpo()->addLayout(form);
    Corpo()->addStretch(1);

    auto* botoes = new QHBoxLayout;
    Rct_BtCancel = botao(QStringLiteral("CANCELAR"), QStringLiteral("#D9434A"),
                         QStringLiteral("Rct_BtCancel"));
    Rct_BtOK =
        botao(QStringLiteral("PERMITIR"), QStringLiteral("#2E8B57"), QStringLiteral("Rct_BtOK"));
    for (QPushButton* b : {Rct_BtCancel, Rct_BtOK})
        b->setMinimumSize(200, 52);
    botoes->addWidget(Rct_BtCancel);
    botoes->addStretch(1);
    botoes->addWidget(Rct_BtOK);
    Corpo()->addLayout(botoes);

    connect(Rct_BtOK, &QPushButton::clicked, this, &TSeguranca::Rct_BtOKClick);
    connect(Rct_BtCancel, &QPushButton::clicked, this, &TSeguranca::Rct_BtCancelClick);
}

void TSeguranca::showEvent(QShowEvent* event) {
    PainelModal::showEvent(event);
    Permissao = false;
    // The operator's own e-mail, for the supervisor to replace with theirs.
    Edt_Usuario_Email->setText(m_principal.Config.Usuario_Email);
    Edt_Usuario_Email->setFocus();
    Edt_Usuario_Email->selectAll();
}

void TSeguranca::Rct_BtOKClick() {
    const QString email = Edt_Usuario_Email->text().trimmed();
    const QString senha = Edt_Usuario_Password->text().trimmed();
    if (email.isEmpty()) {
        Edt_Usuario_Email->setFocus();
        return;
    }
    if (senha.isEmpty()) {
        Edt_Usuario_Password->setFocus();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Permissao = Seguranca_webAPI(m_principal.Config, m_principal.WebAPI_URL, email, senha,
                                 permissao_id, permissao_tipo);
    QApplication::restoreOverrideCursor();
    if (Permissao)
        accept();
    else
        reject();
}

void TSeguranca::Rct_BtCancelClick() {
    Permissao = false;
    reject();
}

bool TSeguranca::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return PainelModal::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (!eEnter(key) && key != Qt::Key_Escape) return PainelModal::eventFilter(watched, event);
    // Enter and Esc act on their release, and only when their press came here.
    if (!m_soltura.Soltou(event)) return true;
    if (key == Qt::Key_Escape)
        Rct_BtCancelClick();
    else if (watched == Edt_Usuario_Email)
        Edt_Usuario_Password->setFocus();
    else
        Rct_BtOKClick();
    return true;
}

bool Permissao(TPrincipal& principal, qint32 permissao_id, const QString& permissao_tipo) {
    // Over the window that asks, which is modal itself.
    QWidget* pai = QApplication::activeModalWidget();
    TSeguranca janela(principal, permissao_id, permissao_tipo, pai ? pai : &principal);
    janela.exec();
    return janela.Permissao;
}

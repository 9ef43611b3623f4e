#include "Balcao.h"

#include "foundation/Database.h"
#include "foundation/MessageBox.h"
#include "sale/Login_Tab_Unit.h"
#include "sale/Vendas_Tab_Unit.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

Balcao::Balcao(std::function<void(TSettings&)> ajustes,
               std::function<void(db::Connection&)> catalogo)
    : m_dm(dir.path()) {
    MessageBox::clearShown();
    QFile::copy(QStringLiteral(ONDAVIA_PROGRAM_DIR "/dbase.s3db"), dir.file("dbase.s3db"));
    QFile::setPermissions(dir.file("dbase.s3db"), QFile::ReadOwner | QFile::WriteOwner);

    TSettings s;
    s.Usuario_Email = QString::fromLatin1(EMAIL);
    s.Usuario_Nome = QStringLiteral("Caixa Um");
    s.Usuario_Password = QString::fromLatin1(SENHA);
    s.Vendedor_ID = 12;
    s.Emp_Nome = QString::fromUtf8("Mercadinho São José");
    s.Emp_CNPJ = QString::fromLatin1(CNPJ);
    s.Emp_ID = 1;
    // The shop is off-line: a checkout uploads nothing unless a test asks for it.
    s.conf_enviar_venda = false;
    if (ajustes) ajustes(s);
    SettingsFile(dir.path()).IniFile_Salva(s, s.Usuario_Email);
    SettingsFile(dir.path()).Gravar_Dt_Sinc_Update(s.Usuario_Email, QDateTime::currentDateTime());

    // The company database, as the first sign-in makes it, with a catalogue.
    QDir().mkpath(pastaEmpresa());
    QFile::copy(dir.file("dbase.s3db"), pastaEmpresa() + "dbase.s3db");
    {
        db::Connection c;
        c.open(pastaEmpresa() + "dbase.s3db", db::Journal::Wal);
        (catalogo ? catalogo : Catalogo_Padrao)(c);
    }

    m_dm.DataModuleCreate();
    m_w = std::make_unique<TPrincipal>(m_dm);
    m_w->resize(1366, 768);
    m_w->show();
    QApplication::setActiveWindow(m_w.get());
    m_w->Login().Edt_Usuario_Email->setEditText(QString::fromLatin1(EMAIL));
    m_w->Login().Edt_Usuario_Password->setText(QString::fromLatin1(SENHA));
    m_w->Login().Login_Entrar();
}

Balcao::~Balcao() {
    m_w.reset();
    MessageBox::clearShown();
}

void Balcao::Catalogo_Padrao(db::Connection& c) {
    c.exec(QString::fromUtf8(
        "insert into produtos (id, ativo, produto, cbarra, medida, venda, estoque, grupo, marca,"
        " promocao, promocao_min, dt_promocao) values"
        " (1, 1, 'Arroz Branco 5kg', '7891000100011', 'UN', 27.90, 40, 'Mercearia', 'Tio', 0, 0,"
        "  '2024-01-01 00:00:00'),"
        " (2, 1, 'Feijão Carioca 1kg', '7891000100028', 'UN', 8.49, 55, 'Mercearia', 'Cam', 0, 0,"
        "  '2024-01-01 00:00:00'),"
        " (3, 1, 'Café Torrado 500g', '7891000100042', 'UN', 15.00, 30, 'Mercearia', 'Serra',"
        "  10, 3, '2024-01-01 00:00:00'),"
        " (4, 1, 'Café Especial 250g', '7891000100059', 'UN', 20.00, 30, 'Mercearia', 'Serra',"
        "  10, 1, '2999-01-01 00:00:00'),"
        " (5, 1, 'Manteiga com Sal', '7891000100080', 'UN', 11.90, 0, 'Laticínios', 'Faz', 0, 0,"
        "  '2024-01-01 00:00:00'),"
        " (6, 1, 'Queijo Mussarela KG', '2000021', 'KG', 49.90, 12, 'Frios', 'Sul', 0, 0,"
        "  '2024-01-01 00:00:00'),"
        " (7, 1, 'Biscoito D''Ouro', '7891000100097', 'UN', 3.50, 10, 'Mercearia', 'Ouro', 0, 0,"
        "  '2024-01-01 00:00:00'),"
        " (123, 1, 'Produto Cento e Vinte e Três', '7891000101230', 'UN', 1.00, 5, 'X', 'Y', 0,"
        "  0, '2024-01-01 00:00:00')"));
    c.exec(QString::fromUtf8("insert into funcionarios (id, nome, ativo) values (1, 'Ana', 1), "
                             "(2, 'Bruno', 1)"));
}

void Balcao::Catalogo_Grande(db::Connection& c, int n) {
    db::Transaction t(c);
    db::Query q(c);
    q.setSql(QStringLiteral(
        "insert into produtos (id, ativo, produto, cbarra, medida, venda, estoque, grupo, marca,"
        " promocao, promocao_min, dt_promocao) values (:id, 1, :produto, :cbarra, 'UN', :venda,"
        " 100, 'Grupo', 'Marca', 0, 0, '2024-01-01 00:00:00')"));
    for (int i = 1; i <= n; ++i) {
        q.bind(QStringLiteral(":id"), i);
        q.bind(QStringLiteral(":produto"), QStringLiteral("Produto %1").arg(i));
        q.bind(QStringLiteral(":cbarra"), QStringLiteral("789%1").arg(i, 10, 10, QLatin1Char('0')));
        q.bind(QStringLiteral(":venda"), 1.0 + (i % 100));
        q.exec();
    }
    t.commit();
}

void Balcao::teclar(int key, Qt::KeyboardModifiers mod) {
    QWidget* alvo = QApplication::focusWidget();
    if (!alvo) alvo = m_w.get();
    QTest::keyClick(alvo, Qt::Key(key), mod);
}

void Balcao::digitar(const QString& texto) {
    QWidget* alvo = QApplication::focusWidget();
    if (!alvo) alvo = m_w.get();
    QTest::keyClicks(alvo, texto);
}

void Balcao::buscar(const QString& texto) {
    m_w->Vendas().Focar_Busca();
    m_w->Vendas().Edt_Prod_Busca->setEditText(QString());
    digitar(texto);
    teclar(Qt::Key_Return);
}

QString Balcao::sql(const QString& consulta) {
    db::Query q(m_dm.FDConnection1);
    q.setSql(consulta);
    q.open();
    return q.eof() ? QString() : q.field(0).asString();
}

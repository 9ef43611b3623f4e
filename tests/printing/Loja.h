#pragma once

// A program folder with a signed-in company for the print tests: its database (the
// shipped schema, empty), the company's data, a fixed clock, and the print library and
// text editor replaced by recorders.

#include "foundation/DModule_Unit.h"
#include "foundation/Database.h"
#include "foundation/MessageBox.h"
#include "foundation/Settings.h"
#include "printing/Cupom_NaoFiscal.h"
#include "printing/Impressao_Canais.h"
#include "printing/Impressao_Perfil.h"

#include "support/TestDir.h"

#include <QDir>
#include <QFile>

#include <functional>

struct Chamada_Termica {
    QString arquivo, qrcode;
    bool visualizar = false;
    QStringList linhas; // what the file held at the call
};

class Loja {
public:
    static constexpr const char* CNPJ = "11.222.333/0001-81";

    Loja() : dm(dir.path()) {
        MessageBox::clearShown();
        QFile::copy(QStringLiteral(ONDAVIA_PROGRAM_DIR "/dbase.s3db"), dir.file("dbase.s3db"));
        QFile::setPermissions(dir.file("dbase.s3db"), QFile::ReadOwner | QFile::WriteOwner);
        cfg.Emp_Nome = QStringLiteral("Mercadinho São José");
        cfg.Emp_Endereco = QStringLiteral("Rua das Flores");
        cfg.Emp_Numero = QStringLiteral("120");
        cfg.Emp_Bairro = QStringLiteral("Centro");
        cfg.Emp_Cidade = QStringLiteral("Campinas");
        cfg.Emp_UF = QStringLiteral("SP");
        cfg.Emp_Fone = QStringLiteral("(19) 3232-1000");
        cfg.Emp_CNPJ = QString::fromLatin1(CNPJ);
        cfg.conf_Terminal_Tipo = QStringLiteral("Caixa");
        cfg.conf_Terminal_Num = 2;
        QDir().mkpath(pasta());
        QFile::copy(dir.file("dbase.s3db"), pasta() + "dbase.s3db");
        dm.Conectar_Banco_Dados(pasta() + "dbase.s3db");

        Impressao_Definir_Relogio([] { return QDateTime(QDate(2024, 5, 17), QTime(14, 3, 9)); });
        m_anteriores = Canais_Externos();
        Canais_Externos().Editor = [this](const QString& arquivo) { editor << arquivo; };
        Canais_Externos().Mini_Termica = [this](const QString& a, const QString& q, bool v) {
            termica.append({a, q, v, linhasDe(a)});
            return true;
        };
    }
    ~Loja() {
        Canais_Externos() = m_anteriores;
        Impressao_Definir_Relogio({});
        MessageBox::clearShown();
    }

    QString pasta() const { return dir.path() + "11222333000181/"; }

    void perfil(const char* nnn, const QString& tipo, const QString& porta,
                const std::function<void(TPerfil_Impressao&)>& ajuste = {}) {
        TPerfil_Impressao p;
        p.impress_nome = tipo;
        p.impress_porta = porta;
        if (ajuste) ajuste(p);
        Perfil_Salvar(dir.path(), QString::fromLatin1(nnn), p);
    }

    void sql(const QString& comando) { dm.FDConnection1.exec(comando); }

    // A print file's lines, split at CR LF.
    static QStringList linhasDe(const QString& arquivo) {
        QFile f(arquivo);
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList l = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
        if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
        return l;
    }
    QStringList preImpressao() const { return linhasDe(dir.file("PreImpressao.txt")); }

    TestDir dir;
    TDModule dm;
    TSettings cfg;
    QStringList editor;
    QList<Chamada_Termica> termica;

private:
    TCanais_Externos m_anteriores;
};

// The golden file's lines (UTF-8, LF or CR LF).
inline QStringList Golden(const char* nome) {
    QFile f(QStringLiteral(ONDAVIA_SOURCE_DIR "/tests/printing/golden/") + QLatin1String(nome));
    if (!f.open(QIODevice::ReadOnly)) return {QStringLiteral("<missing golden file>")};
    QString texto = QString::fromUtf8(f.readAll());
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList l = texto.split(u'\n');
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}

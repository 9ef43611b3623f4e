#include "Impressao_Perfil.h"

#include "foundation/Errors.h"
#include "foundation/IniFile.h"

#include <QDir>

namespace {

const QString Secao = QStringLiteral("IMPRESSAO");

QString Chave(const char* nome, const QString& NNN) {
    return QLatin1String(nome) + NNN;
}

} // namespace

QString Perfil_Numero(int indice) {
    return QStringLiteral("%1").arg(indice < 0 ? 0 : indice + 1, 3, 10, QLatin1Char('0'));
}

TPerfil_Impressao Perfil_Ler(const QString& Sistema_DirName, const QString& NNN) {
    const IniFile ini(Sistema_DirName + QStringLiteral("confg.ini"));
    const TPerfil_Impressao d;
    TPerfil_Impressao p;
    p.impress_nome = ini.ReadString(Secao, Chave("impress_nome", NNN), d.impress_nome);
    p.impress_porta = ini.ReadString(Secao, Chave("impress_porta", NNN), d.impress_porta);
    p.impress_Salto = ini.ReadInteger(Secao, Chave("impress_Salto", NNN), d.impress_Salto);
    p.impress_MgEsq = ini.ReadInteger(Secao, Chave("impress_MgEsq", NNN), d.impress_MgEsq);
    p.impress_Colunas = ini.ReadInteger(Secao, Chave("impress_Colunas", NNN), d.impress_Colunas);
    p.impress_Fonte = ini.ReadInteger(Secao, Chave("impress_Fonte", NNN), d.impress_Fonte);
    p.impress_Gaveta = ini.ReadBool(Secao, Chave("impress_Gaveta", NNN), d.impress_Gaveta);
    p.impress_Papel = ini.ReadBool(Secao, Chave("impress_Papel", NNN), d.impress_Papel);
    p.impress_CBarra = ini.ReadBool(Secao, Chave("impress_CBarra", NNN), d.impress_CBarra);
    p.impress_Mensagem = ini.ReadString(Secao, Chave("impress_Mensagem", NNN), d.impress_Mensagem);
    return p;
}

void Perfil_Salvar(const QString& Sistema_DirName, const QString& NNN,
                   const TPerfil_Impressao& perfil) {
    if (perfil.impress_nome.isEmpty())
        throw Error(QStringLiteral("Selecione o tipo de impressora."));
    QDir().mkpath(Sistema_DirName);
    IniFile ini(Sistema_DirName + QStringLiteral("confg.ini"));
    ini.WriteString(Secao, Chave("impress_nome", NNN), perfil.impress_nome);
    ini.WriteString(Secao, Chave("impress_porta", NNN), perfil.impress_porta);
    ini.WriteInteger(Secao, Chave("impress_Salto", NNN), perfil.impress_Salto);
    ini.WriteInteger(Secao, Chave("impress_MgEsq", NNN), perfil.impress_MgEsq);
    ini.WriteInteger(Secao, Chave("impress_Colunas", NNN), perfil.impress_Colunas);
    ini.WriteInteger(Secao, Chave("impress_Fonte", NNN), perfil.impress_Fonte);
    ini.WriteBool(Secao, Chave("impress_Gaveta", NNN), perfil.impress_Gaveta);
    ini.WriteBool(Secao, Chave("impress_Papel", NNN), perfil.impress_Papel);
    ini.WriteBool(Secao, Chave("impress_CBarra", NNN), perfil.impress_CBarra);
    ini.WriteString(Secao, Chave("impress_Mensagem", NNN), perfil.impress_Mensagem);
}

QStringList Impressora_Tipos() {
    return {Impressora::Deskjet, Impressora::Matricial, Impressora::Termica,
            Impressora::Bloco_Notas};
}

bool Impressora_Portas(const QString& tipo, QStringList& portas, QString& rotulo) {
    if (tipo == Impressora::Deskjet || tipo == Impressora::Termica) {
        portas = {QStringLiteral("Visualizar"), QStringLiteral("Imprimir")};
        rotulo = QStringLiteral("Opções:");
    } else if (tipo == Impressora::Matricial) {
        portas = {QStringLiteral("COM1"), QStringLiteral("COM2"),
                  QStringLiteral("COM3"), QStringLiteral("COM4"),
                  QStringLiteral("LPT1"), QStringLiteral("LPT2"),
                  QStringLiteral("LPT3"), QStringLiteral("\\\\127.0.0.1\\Nome_Da_Impressora")};
        rotulo = QStringLiteral("Porta:");
    } else if (tipo == Impressora::Bloco_Notas) {
        portas = {QStringLiteral("Abrir Arquivo")};
        rotulo = QStringLiteral("Opções:");
    } else {
        return false;
    }
    return true;
}

bool Impressora_Compoe(const QString& tipo) {
    return tipo == Impressora::Matricial || tipo == Impressora::Bloco_Notas ||
           tipo == Impressora::Termica || tipo == Impressora::Epson_LX300 ||
           tipo == Impressora::Sweda_SI300S || tipo == Impressora::Bematech_MP4000 ||
           tipo == Impressora::Epson_TMT20 || tipo == Impressora::Bematech_MP2500;
}

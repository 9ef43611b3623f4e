#pragma once

#include <QString>
#include <QStringList>

// Printer profiles: section "IMPRESSAO" of "confg.ini", keys "impress_..." followed by
// the profile's number: "001" the receipt and the cloud-rendered prints, "002" the
// purchase order, "003" the local management report. Key names match without case.

namespace Impressora {
// The types the settings screen offers.
inline const QString Deskjet = QStringLiteral("Impressora Deskjet/Laser");
inline const QString Matricial = QStringLiteral("Mini-Impressora Matricial");
inline const QString Termica = QStringLiteral("Mini-Impressora Térmica");
inline const QString Bloco_Notas = QStringLiteral("Bloco de Notas [.txt]");
// Types only an edited settings file holds.
inline const QString Epson_LX300 = QStringLiteral("Epson LX 300 Serial");
inline const QString Sweda_SI300S = QStringLiteral("Sweda SI300S Termica");
inline const QString Bematech_MP4000 = QStringLiteral("Bematech MP-4000 TH");
inline const QString Epson_TMT20 = QStringLiteral("Epson TM-T20");
inline const QString Bematech_MP2500 = QStringLiteral("Bematech MP-2500 TH");
} // namespace Impressora

struct TPerfil_Impressao {
    QString impress_nome = Impressora::Bloco_Notas;
    QString impress_porta = QStringLiteral("ARQUIVO");
    qint32 impress_Salto = 3;
    qint32 impress_MgEsq = 3;
    qint32 impress_Colunas = 80;
    qint32 impress_Fonte = 0;
    bool impress_Gaveta = false;
    bool impress_Papel = false;
    bool impress_CBarra = false;
    QString impress_Mensagem = QStringLiteral("OBRIGADO PELA PREFERENCIA. VOLTE SEMPRE!");
};

// "001" for entry 0 of the print-options list; "000" when no entry is selected (-1).
QString Perfil_Numero(int indice);

// Every key of the profile, each with its default.
TPerfil_Impressao Perfil_Ler(const QString& Sistema_DirName, const QString& NNN);
// Writes the keys in the screen's order, creating the program folder when missing.
// Throws Error before writing anything when no printer type is chosen, and
// IniFileError "Unable to write to ..." when the file refuses a write.
void Perfil_Salvar(const QString& Sistema_DirName, const QString& NNN,
                   const TPerfil_Impressao& perfil);

// The types of the settings screen, in its order.
QStringList Impressora_Tipos();
// The port list and its caption for an offered type; false for any other type.
bool Impressora_Portas(const QString& tipo, QStringList& portas, QString& rotulo);
// Whether the local receipt and report are composed for this type.
bool Impressora_Compoe(const QString& tipo);

#pragma once

#include "foundation/Settings.h"

#include <QString>

#include <functional>

struct TPerfil_Impressao;

// How a finished print file leaves the terminal: the port print, the print library or
// the text editor, chosen by the printer type of the profile in use.

// The port of a profile after resolution, with the print library's preview flag.
struct TPorta_Resolvida {
    QString Porta;
    bool Visualizar = false;
};

// "Arquivo" (exactly) becomes "Print_Relatorios.txt" in the company folder (the
// program folder plus the CNPJ's digits, with its trailing separator); any other text
// stays as it is. The preview flag is set for "Visualizar" in any case.
TPorta_Resolvida Porta_Resolver(const QString& porta, const QString& Pasta_Empresa);

// Copies the file's lines to a port, a shared printer or a plain file, each followed by
// CR LF, then Salto_Linha + 1 empty lines (none for a negative feed). Gaveta and Cortar
// add, after the feed, the drawer pulse ESC p 0 25 250 and the partial cut GS V 1.
// A file that begins with a UTF-8 byte-order mark is read as UTF-8, any other in the
// system code page; the port gets the system code page. False when the file does not
// exist. A port that cannot be opened or written throws FileError; lines already
// written stay written.
//   "COM1".."COMn", "LPT1".."LPTn": the machine's serial and parallel devices, never
//   created when missing; "\\host\printer": that print queue, as raw text; anything else
//   is a file name, created or replaced.
bool Impressao_Porta_Serial(const QString& Arquivo_Caminho, const QString& Porta_Serial,
                            int Salto_Linha, bool Gaveta = false, bool Cortar = false);

// ESC/POS bytes of the drawer pulse (pin 2, 50 ms on, 500 ms off) and the partial cut.
QByteArray Comando_Gaveta();
QByteArray Comando_Corte();

// What the send step needs from the composing operation.
struct TEnvio_Impressao {
    QString Tipo;  // impress_nome of the profile
    QString Porta; // resolved
    bool Visualizar = false;
    QString QRCode;      // for the print library; may be empty
    int Salto = 3;       // impress_salto of the profile
    bool Gaveta = false; // drawer and cutter switches, applied by the dot-matrix port print
    bool Cortar = false;
    QString Arquivo; // full path of the composed file
};

// The send step: editor, port print or print library by type (compared exactly, the
// first match wins); any other type sends nothing.
void Impressao_Enviar(const TEnvio_Impressao& envio);
// The send step of a composed file on a profile and its resolved port; no QR text.
TEnvio_Impressao Envio_Perfil(const TPerfil_Impressao& perfil, const TPorta_Resolvida& porta,
                              const QString& arquivo);
// The QR text of the company's prints: its first social-network address, or empty.
QString Impressao_Texto_QR(const TSettings& cfg);
// The company's header of a local print (receipt, report) from the settings.
template <typename Dados> void Impressao_Empresa(Dados& d, const TSettings& cfg) {
    d.Emp_Nome = cfg.Emp_Nome;
    d.Emp_Endereco = cfg.Emp_Endereco;
    d.Emp_Numero = cfg.Emp_Numero;
    d.Emp_Bairro = cfg.Emp_Bairro;
    d.Emp_Cidade = cfg.Emp_Cidade;
    d.Emp_UF = cfg.Emp_UF;
    d.Emp_Fone = cfg.Emp_Fone;
    d.Mascara = cfg.conf_Mask_Decimal;
}

// The print library and the text editor as the send step reaches them. Tests replace
// them to see the calls without a window; the defaults call the library's export and
// the system's "open".
struct TCanais_Externos {
    std::function<bool(const QString& arquivo, const QString& qrcode, bool visualizar)>
        Mini_Termica;
    std::function<void(const QString& arquivo)> Editor;
};
TCanais_Externos& Canais_Externos();

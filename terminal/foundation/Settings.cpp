#include "Settings.h"

#include "IniFile.h"
#include "QueloUtil_Unit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString USUARIO = QStringLiteral("Usuario");
const QString CONF = QStringLiteral("conf");

QDateTime primeiraSincronia() {
    return QDateTime(QDate(2022, 1, 1), QTime(0, 0));
}

// The keys of "conf", in the order of the file's table.
void Conf_Escrever(IniFile& ini, const TSettings& s) {
    ini.WriteBool(CONF, QStringLiteral("prod_qtd"), s.conf_prod_qtd);
    ini.WriteBool(CONF, QStringLiteral("prod_valor"), s.conf_prod_valor);
    ini.WriteInteger(CONF, QStringLiteral("altvalor"), s.conf_altvalor);
    ini.WriteBool(CONF, QStringLiteral("prod_img"), s.conf_prod_img);
    ini.WriteBool(CONF, QStringLiteral("Buscar_Enter"), s.conf_Buscar_Enter);
    ini.WriteString(CONF, QStringLiteral("Buscar_OrderBy"), s.conf_Buscar_OrderBy);
    ini.WriteInteger(CONF, QStringLiteral("cupom_modelo"), s.conf_cupom_modelo);
    ini.WriteInteger(CONF, QStringLiteral("cupom_copias"), s.conf_cupom_copias);
    ini.WriteFloat(CONF, QStringLiteral("DescOpcional"), s.conf_DescOpcional);
    ini.WriteInteger(CONF, QStringLiteral("DescTipo"), s.conf_DescTipo);
    ini.WriteFloat(CONF, QStringLiteral("Desc_Limit"), s.conf_Desc_Limit);
    ini.WriteInteger(CONF, QStringLiteral("Casa_Decimal"), s.conf_Casa_Decimal);
    ini.WriteInteger(CONF, QStringLiteral("balanca_qtdcod"), s.conf_balanca_qtdcod);
    ini.WriteInteger(CONF, QStringLiteral("balanca_qtdval"), s.conf_balanca_qtdval);
    ini.WriteString(CONF, QStringLiteral("balanca_tipo"), s.conf_balanca_tipo);
    ini.WriteBool(CONF, QStringLiteral("sugerir_valor"), s.conf_sugerir_valor);
    ini.WriteBool(CONF, QStringLiteral("enviar_venda"), s.conf_enviar_venda);
    ini.WriteBool(CONF, QStringLiteral("imprimir_venda"), s.conf_imprimir_venda);
    ini.WriteBool(CONF, QStringLiteral("imprimir_pedido"), s.conf_imprimir_pedido);
    ini.WriteBool(CONF, QStringLiteral("Cliente_Obriga"), s.conf_Cliente_Obriga);
    ini.WriteBool(CONF, QStringLiteral("Cliente_Lista"), s.conf_Cliente_Lista);
    ini.WriteBool(CONF, QStringLiteral("listar_excluidos"), s.conf_Listar_Excluidos);
    ini.WriteString(CONF, QStringLiteral("Terminal_Tipo"), s.conf_Terminal_Tipo);
    ini.WriteInteger(CONF, QStringLiteral("Terminal_Num"), s.conf_Terminal_Num);
    ini.WriteBool(CONF, QStringLiteral("FormaPG_Din"), s.conf_FormaPG_Din);
    ini.WriteBool(CONF, QStringLiteral("FormaPG_PIX"), s.conf_FormaPG_PIX);
    ini.WriteBool(CONF, QStringLiteral("FormaPG_Car"), s.conf_FormaPG_Car);
    ini.WriteBool(CONF, QStringLiteral("FormaPG_Che"), s.conf_FormaPG_Che);
    ini.WriteString(CONF, QStringLiteral("terminal_mod"), s.conf_terminal_mod);
    ini.WriteString(CONF, QStringLiteral("terminal_file"), s.conf_terminal_file);
    ini.WriteBool(CONF, QStringLiteral("Cert_SSL2"), s.conf_Cert_SSL2);
    ini.WriteBool(CONF, QStringLiteral("Cert_SSL3"), s.conf_Cert_SSL3);
    ini.WriteBool(CONF, QStringLiteral("Cert_TLS1"), s.conf_Cert_TLS1);
    ini.WriteBool(CONF, QStringLiteral("Cert_TLS11"), s.conf_Cert_TLS11);
    ini.WriteBool(CONF, QStringLiteral("Cert_TLS12"), s.conf_Cert_TLS12);
    ini.WriteBool(CONF, QStringLiteral("Cert_TLS13"), s.conf_Cert_TLS13);
    ini.WriteString(CONF, QStringLiteral("ProtHTTP"), s.conf_ProtHTTP);
    ini.WriteString(CONF, QStringLiteral("MetdHTTP"), s.conf_MetdHTTP);
}

} // namespace

SettingsFile::SettingsFile(const QString& Sistema_DirName) : m_dir(Sistema_DirName) {}

QString SettingsFile::fileName() const {
    return m_dir + QStringLiteral("confg.ini");
}

QString SettingsFile::emailListFileName() const {
    return m_dir + QStringLiteral("Edt_Usuario_Email.items");
}

QString SettingsFile::Mascara_Decimal(qint32 casas, const QString& current) {
    switch (casas) {
    case 2:
        return QStringLiteral("0.00,");
    case 3:
        return QStringLiteral("0.000,");
    case 4:
        return QStringLiteral("0.0000,");
    default:
        return current;
    }
}

QString SettingsFile::hashPassword(const QString& password, const QString& email) {
    return MD5(password + email);
}

void SettingsFile::IniFile_Read(TSettings& s, const QString& Edt_Usuario_Email,
                                const QString& executablePath) const {
    QDir().mkpath(m_dir);
    const IniFile ini(fileName());

    s.Usuario_Email = ini.ReadString(USUARIO, QStringLiteral("Email"), QString()).trimmed();

    const TSettings d; // the defaults
    s.conf_prod_qtd = ini.ReadBool(CONF, QStringLiteral("prod_qtd"), d.conf_prod_qtd);
    s.conf_prod_valor = ini.ReadBool(CONF, QStringLiteral("prod_valor"), d.conf_prod_valor);
    s.conf_altvalor = ini.ReadInteger(CONF, QStringLiteral("altvalor"), d.conf_altvalor);
    s.conf_prod_img = ini.ReadBool(CONF, QStringLiteral("prod_img"), d.conf_prod_img);
    s.conf_Buscar_Enter = ini.ReadBool(CONF, QStringLiteral("Buscar_Enter"), d.conf_Buscar_Enter);
    s.conf_Buscar_OrderBy =
        ini.ReadString(CONF, QStringLiteral("Buscar_OrderBy"), d.conf_Buscar_OrderBy);
    s.conf_cupom_modelo =
        ini.ReadInteger(CONF, QStringLiteral("cupom_modelo"), d.conf_cupom_modelo);
    s.conf_cupom_copias =
        ini.ReadInteger(CONF, QStringLiteral("cupom_copias"), d.conf_cupom_copias);
    s.conf_DescOpcional = ini.ReadFloat(CONF, QStringLiteral("DescOpcional"), d.conf_DescOpcional);
    s.conf_DescTipo = ini.ReadInteger(CONF, QStringLiteral("DescTipo"), d.conf_DescTipo);
    s.conf_Desc_Limit = ini.ReadFloat(CONF, QStringLiteral("Desc_Limit"), d.conf_Desc_Limit);
    s.conf_Casa_Decimal =
        ini.ReadInteger(CONF, QStringLiteral("Casa_Decimal"), d.conf_Casa_Decimal);
    s.conf_balanca_qtdcod =
        ini.ReadInteger(CONF, QStringLiteral("balanca_qtdcod"), d.conf_balanca_qtdcod);
    s.conf_balanca_qtdval =
        ini.ReadInteger(CONF, QStringLiteral("balanca_qtdval"), d.conf_balanca_qtdval);
    s.conf_balanca_tipo = ini.ReadString(CONF, QStringLiteral("balanca_tipo"), d.conf_balanca_tipo);
    s.conf_sugerir_valor =
        ini.ReadBool(CONF, QStringLiteral("sugerir_valor"), d.conf_sugerir_valor);
    s.conf_enviar_venda = ini.ReadBool(CONF, QStringLiteral("enviar_venda"), d.conf_enviar_venda);
    s.conf_imprimir_venda =
        ini.ReadBool(CONF, QStringLiteral("imprimir_venda"), d.conf_imprimir_venda);
    s.conf_imprimir_pedido =
        ini.ReadBool(CONF, QStringLiteral("imprimir_pedido"), d.conf_imprimir_pedido);
    s.conf_Cliente_Obriga =
        ini.ReadBool(CONF, QStringLiteral("Cliente_Obriga"), d.conf_Cliente_Obriga);
    s.conf_Cliente_Lista =
        ini.ReadBool(CONF, QStringLiteral("Cliente_Lista"), d.conf_Cliente_Lista);
    s.conf_Listar_Excluidos =
        ini.ReadBool(CONF, QStringLiteral("listar_excluidos"), d.conf_Listar_Excluidos);
    s.conf_Terminal_Tipo =
        ini.ReadString(CONF, QStringLiteral("Terminal_Tipo"), d.conf_Terminal_Tipo);
    s.conf_Terminal_Num =
        ini.ReadInteger(CONF, QStringLiteral("Terminal_Num"), d.conf_Terminal_Num);
    s.conf_FormaPG_Din = ini.ReadBool(CONF, QStringLiteral("FormaPG_Din"), d.conf_FormaPG_Din);
    s.conf_FormaPG_PIX = ini.ReadBool(CONF, QStringLiteral("FormaPG_PIX"), d.conf_FormaPG_PIX);
    s.conf_FormaPG_Car = ini.ReadBool(CONF, QStringLiteral("FormaPG_Car"), d.conf_FormaPG_Car);
    s.conf_FormaPG_Che = ini.ReadBool(CONF, QStringLiteral("FormaPG_Che"), d.conf_FormaPG_Che);
    s.conf_terminal_mod = ini.ReadString(CONF, QStringLiteral("terminal_mod"), d.conf_terminal_mod);
    s.conf_terminal_file =
        ini.ReadString(CONF, QStringLiteral("terminal_file"), d.conf_terminal_file);
    s.conf_Cert_SSL2 = ini.ReadBool(CONF, QStringLiteral("Cert_SSL2"), d.conf_Cert_SSL2);
    s.conf_Cert_SSL3 = ini.ReadBool(CONF, QStringLiteral("Cert_SSL3"), d.conf_Cert_SSL3);
    s.conf_Cert_TLS1 = ini.ReadBool(CONF, QStringLiteral("Cert_TLS1"), d.conf_Cert_TLS1);
    s.conf_Cert_TLS11 = ini.ReadBool(CONF, QStringLiteral("Cert_TLS11"), d.conf_Cert_TLS11);
    s.conf_Cert_TLS12 = ini.ReadBool(CONF, QStringLiteral("Cert_TLS12"), d.conf_Cert_TLS12);
    s.conf_Cert_TLS13 = ini.ReadBool(CONF, QStringLiteral("Cert_TLS13"), d.conf_Cert_TLS13);
    s.conf_ProtHTTP = ini.ReadString(CONF, QStringLiteral("ProtHTTP"), d.conf_ProtHTTP);
    s.conf_MetdHTTP = ini.ReadString(CONF, QStringLiteral("MetdHTTP"), d.conf_MetdHTTP);

    s.Dt_Sinc_Update =
        ini.ReadDateTime(s.Usuario_Email, QStringLiteral("dt_sinc_update"), primeiraSincronia());

    if (!executablePath.isEmpty()) {
        const QFileInfo exe(executablePath);
        if (exe.exists()) s.Dt_Exe_Update = exe.lastModified();
    }

    s.Vendedor_Nome_Old =
        ini.ReadString(Edt_Usuario_Email, QStringLiteral("Vendedor_Nome_Old"), s.Vendedor_Nome_Old);

    s.conf_Mask_Decimal = Mascara_Decimal(s.conf_Casa_Decimal, s.conf_Mask_Decimal);
    Set_Mask_Decimal(s.conf_Mask_Decimal);
}

void SettingsFile::IniFile_Salva(const TSettings& s, const QString& Edt_Usuario_Email) const {
    QDir().mkpath(m_dir);
    IniFile ini(fileName());

    ini.WriteString(USUARIO, QStringLiteral("Email"), s.Usuario_Email.trimmed());

    const QString& sec = Edt_Usuario_Email;
    ini.WriteString(sec, QStringLiteral("Usuario_Email"), s.Usuario_Email);
    ini.WriteString(sec, QStringLiteral("Usuario_Nome"), s.Usuario_Nome);
    ini.WriteString(sec, QStringLiteral("Usuario_Password"),
                    hashPassword(s.Usuario_Password, s.Usuario_Email));
    ini.WriteInteger(sec, QStringLiteral("Usuario_ID"), s.Usuario_ID);
    ini.WriteString(sec, QStringLiteral("Vendedor_Nome"), s.Vendedor_Nome);
    ini.WriteInteger(sec, QStringLiteral("Vendedor_ID"), s.Vendedor_ID);
    ini.WriteString(sec, QStringLiteral("Vendedor_Nome_Old"), s.Vendedor_Nome_Old);
    ini.WriteString(sec, QStringLiteral("Emp_Nome"), s.Emp_Nome);
    ini.WriteInteger(sec, QStringLiteral("Emp_ID"), s.Emp_ID);
    ini.WriteString(sec, QStringLiteral("Emp_Endereco"), s.Emp_Endereco);
    ini.WriteString(sec, QStringLiteral("Emp_Numero"), s.Emp_Numero);
    ini.WriteString(sec, QStringLiteral("Emp_Bairro"), s.Emp_Bairro);
    ini.WriteString(sec, QStringLiteral("Emp_Cidade"), s.Emp_Cidade);
    ini.WriteString(sec, QStringLiteral("Emp_UF"), s.Emp_UF);
    ini.WriteString(sec, QStringLiteral("Emp_Fone"), s.Emp_Fone);
    ini.WriteString(sec, QStringLiteral("Emp_cnpj"), s.Emp_CNPJ);
    ini.WriteString(sec, QStringLiteral("Emp_Instagram"), s.Emp_Instagram);
    ini.WriteString(sec, QStringLiteral("Emp_Facebook"), s.Emp_Facebook);
    ini.WriteString(sec, QStringLiteral("Emp_TikTok"), s.Emp_TikTok);
    ini.WriteString(sec, QStringLiteral("Emp_twitter"), s.Emp_twitter);
    ini.WriteString(sec, QStringLiteral("Emp_Site"), s.Emp_Site);
    ini.WriteString(sec, QStringLiteral("Emp_Email"), s.Emp_Email);
    ini.WriteString(sec, QStringLiteral("Emp_youtube"), s.Emp_youtube);

    Conf_Escrever(ini, s);
}

void SettingsFile::Conf_Salva(const TSettings& s) const {
    QDir().mkpath(m_dir);
    IniFile ini(fileName());
    Conf_Escrever(ini, s);
}

void SettingsFile::Open_User_OLD(TSettings& s, const QString& Email,
                                 const QString& Password) const {
    const IniFile ini(fileName());
    const QString& sec = Email;
    const QString email = ini.ReadString(sec, QStringLiteral("Usuario_Email"), QString());
    const QString hash = ini.ReadString(sec, QStringLiteral("Usuario_Password"), QString());
    // The e-mail must match exactly, letter case included.
    if (email.isEmpty() || email != Email || hash != hashPassword(Password, Email)) return;

    s.Usuario_Email = email;
    s.Usuario_Nome = ini.ReadString(sec, QStringLiteral("Usuario_Nome"), QString());
    s.Usuario_ID = ini.ReadInteger(sec, QStringLiteral("Usuario_ID"), 0);
    s.Vendedor_Nome = ini.ReadString(sec, QStringLiteral("Vendedor_Nome"), QString());
    s.Vendedor_ID = ini.ReadInteger(sec, QStringLiteral("Vendedor_ID"), 0);
    s.Emp_Nome = ini.ReadString(sec, QStringLiteral("Emp_Nome"), QString());
    s.Emp_ID = ini.ReadInteger(sec, QStringLiteral("Emp_ID"), 0);
    s.Emp_Endereco = ini.ReadString(sec, QStringLiteral("Emp_Endereco"), QString());
    s.Emp_Numero = ini.ReadString(sec, QStringLiteral("Emp_Numero"), QStringLiteral(" S/N"));
    s.Emp_Cidade = ini.ReadString(sec, QStringLiteral("Emp_Cidade"), QString());
    s.Emp_Bairro = ini.ReadString(sec, QStringLiteral("Emp_Bairro"), QString());
    s.Emp_UF = ini.ReadString(sec, QStringLiteral("Emp_UF"), QString());
    s.Emp_Fone = ini.ReadString(sec, QStringLiteral("Emp_Fone"), QString());
    s.Emp_CNPJ = ini.ReadString(sec, QStringLiteral("Emp_cnpj"), QString());
    s.Emp_Site = ini.ReadString(sec, QStringLiteral("Emp_Site"), s.Emp_Site);
    s.Emp_Email = ini.ReadString(sec, QStringLiteral("Emp_Email"), s.Emp_Email);
    s.Emp_Instagram = ini.ReadString(sec, QStringLiteral("Emp_Instagram"), s.Emp_Instagram);
    s.Emp_Facebook = ini.ReadString(sec, QStringLiteral("Emp_Facebook"), s.Emp_Facebook);
    s.Emp_TikTok = ini.ReadString(sec, QStringLiteral("Emp_TikTok"), s.Emp_TikTok);
    s.Emp_twitter = ini.ReadString(sec, QStringLiteral("Emp_twitter"), s.Emp_twitter);
    s.Emp_youtube = ini.ReadString(sec, QStringLiteral("Emp_youtube"), s.Emp_youtube);
    s.Usuario_Password = Password;
}

void SettingsFile::Gravar_Dt_Sinc_Update(const QString& Email, const QDateTime& moment) const {
    IniFile ini(fileName());
    ini.WriteDateTime(Email, QStringLiteral("dt_sinc_update"), moment);
}

QStringList SettingsFile::List_Usuario_Email_Read(const QStringList& current) const {
    QFile file(emailListFileName());
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) return current;
    QStringList lines;
    const QString text = QString::fromUtf8(file.readAll());
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        lines.append(line);
    }
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast(); // final line break
    return lines;
}

QStringList SettingsFile::List_Usuario_Email_Add(const QStringList& current,
                                                 const QString& Email) const {
    QStringList list = List_Usuario_Email_Read(current);
    if (!list.contains(Email, Qt::CaseInsensitive)) list.append(Email);
    if (IniFile::readOnly(emailListFileName())) return list;
    QSaveFile file(emailListFileName());
    file.setDirectWriteFallback(true);
    if (file.open(QIODevice::WriteOnly)) {
        QByteArray bytes;
        for (const QString& line : list)
            bytes += line.toUtf8() + "\r\n";
        file.write(bytes);
        file.commit(); // a failure is ignored: the list is only a convenience
    }
    return list;
}

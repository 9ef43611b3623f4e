#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// The preferences and the identity of the signed-in user and company, as the main
// window keeps them for the whole run. Field names are those of the settings keys.
struct TSettings {
    // Section "Usuario" and the section named by the user's e-mail.
    QString Usuario_Email;
    QString Usuario_Nome;
    QString Usuario_Password; // as typed; the file only ever holds its digest
    qint32 Usuario_ID = 0;
    QString Vendedor_Nome;
    qint32 Vendedor_ID = 0;
    QString Vendedor_Nome_Old;
    QString Emp_Nome;
    qint32 Emp_ID = 0;
    QString Emp_Endereco;
    QString Emp_Numero;
    QString Emp_Bairro;
    QString Emp_Cidade;
    QString Emp_UF;
    QString Emp_Fone;
    QString Emp_CNPJ;
    QString Emp_Instagram;
    QString Emp_Facebook;
    QString Emp_TikTok;
    QString Emp_twitter;
    QString Emp_Site;
    QString Emp_Email;
    QString Emp_youtube;
    QDateTime Dt_Sinc_Update;

    // Section "conf".
    bool conf_prod_qtd = true;
    bool conf_prod_valor = true;
    qint32 conf_altvalor = 1;
    bool conf_prod_img = false;
    bool conf_Buscar_Enter = true;
    QString conf_Buscar_OrderBy = QStringLiteral("estoque desc, produto");
    qint32 conf_cupom_modelo = 1;
    qint32 conf_cupom_copias = 1;
    double conf_DescOpcional = 0;
    qint32 conf_DescTipo = 0;
    double conf_Desc_Limit = 0;
    qint32 conf_Casa_Decimal = 2;
    qint32 conf_balanca_qtdcod = 7;
    qint32 conf_balanca_qtdval = 4;
    QString conf_balanca_tipo = QStringLiteral("valor");
    bool conf_sugerir_valor = true;
    bool conf_enviar_venda = true;
    bool conf_imprimir_venda = false;
    bool conf_imprimir_pedido = false;
    bool conf_Cliente_Obriga = false;
    bool conf_Cliente_Lista = true;
    bool conf_Listar_Excluidos = false;
    QString conf_Terminal_Tipo = QStringLiteral("Caixa");
    qint32 conf_Terminal_Num = 1;
    bool conf_FormaPG_Din = true;
    bool conf_FormaPG_PIX = true;
    bool conf_FormaPG_Car = true;
    bool conf_FormaPG_Che = true;
    QString conf_terminal_mod;
    QString conf_terminal_file = QStringLiteral("C:\\Tarvel\\Arquivo.txt");
    bool conf_Cert_SSL2 = false;
    bool conf_Cert_SSL3 = true;
    bool conf_Cert_TLS1 = true;
    bool conf_Cert_TLS11 = true;
    bool conf_Cert_TLS12 = true;
    bool conf_Cert_TLS13 = true;
    QString conf_ProtHTTP = QStringLiteral("http");
    QString conf_MetdHTTP = QStringLiteral("POST");

    // Kept for the run, never stored.
    qint32 Funcionario_ID = 0; // the employee the management report is asked for
    QString conf_Mask_Decimal = QStringLiteral("0.00,");
    qint32 conf_venda_altvalor = 0;
    QDateTime Dt_Exe_Update;
};

// "confg.ini" and "Edt_Usuario_Email.items" of the program folder. Each operation
// opens and closes the files; nothing holds them open. The steps that touch the main
// window's controls take the login box's text (`Edt_Usuario_Email`) as an argument.
class SettingsFile {
public:
    // Sistema_DirName: the program folder, with its trailing separator.
    explicit SettingsFile(const QString& Sistema_DirName);

    QString fileName() const;          // ".../confg.ini"
    QString emailListFileName() const; // ".../Edt_Usuario_Email.items"

    // Fills the fields from the file; the section of the last synchronisation is the
    // one named by Usuario_Email, that of Vendedor_Nome_Old the one named by the login
    // box. Also sets the process-wide money mask.
    void IniFile_Read(TSettings& s, const QString& Edt_Usuario_Email,
                      const QString& executablePath = QString()) const;
    // Writes the fields; throws IniFileError "Unable to write to ..." and leaves the
    // keys written before the failure in the file.
    void IniFile_Salva(const TSettings& s, const QString& Edt_Usuario_Email) const;
    // Writes the preferences of "conf" alone, leaving every user's section as it is.
    void Conf_Salva(const TSettings& s) const;
    // Offline check of the typed e-mail and password against the saved section; on a
    // match loads the user and company into s. Success shows as a non-empty Emp_Nome.
    void Open_User_OLD(TSettings& s, const QString& Email, const QString& Password) const;
    // Writes "dt_sinc_update" into the section named by Email.
    void Gravar_Dt_Sinc_Update(const QString& Email, const QDateTime& moment) const;

    // The remembered sign-in e-mails. Failures are ignored: Add returns the list it
    // could build, Read returns `current` when the file cannot be read.
    QStringList List_Usuario_Email_Add(const QStringList& current, const QString& Email) const;
    QStringList List_Usuario_Email_Read(const QStringList& current) const;

    // The money mask for a number of decimals; `current` for anything but 2, 3 and 4.
    static QString Mascara_Decimal(qint32 casas, const QString& current);

    static QString hashPassword(const QString& password, const QString& email);

private:
    QString m_dir;
};

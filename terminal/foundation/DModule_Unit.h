#pragma once

#include "Database.h"

#include <QString>

struct TSettings;

// The data module: the one connection of the user-interface thread to the local
// database, the shared query objects, and where the terminal keeps its files.
class TDModule {
public:
    // Sistema_DirName: the program folder (the executable's folder), with or without
    // a trailing separator.
    explicit TDModule(const QString& Sistema_DirName);
    ~TDModule();
    TDModule(const TDModule&) = delete;
    TDModule& operator=(const TDModule&) = delete;

    // Prepares the program folder, connects to the shipped database and runs a
    // pending upgrade script.
    void DataModuleCreate();
    // (Re)connects to the file Banco; shows "Erro de conexão com o banco de dados!"
    // when that fails. True when the connection is open afterwards.
    bool Conectar_Banco_Dados(const QString& Banco);
    // Gives the signed-in company its folder and its own copy of the shipped database,
    // and connects to it.
    void Criar_Pasta_Empresa(TSettings& settings);

    // Closes the connection and deletes the company's database with its log files, so
    // that the next Criar_Pasta_Empresa makes it anew. Failures to delete are ignored.
    void Excluir_Banco_Empresa(const TSettings& settings);

    // The company folder: the program folder plus the digits of the CNPJ, with a
    // trailing separator (the program folder itself when no company is signed in).
    QString Pasta_Empresa(const TSettings& settings) const;
    QString Banco_Padrao() const; // the shipped database

    QString Sistema_DirName;
    db::Connection FDConnection1;
    db::Query FDQuery1{FDConnection1};
    db::Query FDQuery2{FDConnection1};
    db::Query FDQuery3{FDConnection1};
    db::Query FDQuery4{FDConnection1};

private:
    void Atualizar_Banco();
};

// Splits an upgrade script into the statements to run: lines gather until a line
// that begins with "#"; blank lines are skipped; lines after the last "#" are dropped.
QStringList Script_Comandos(const QString& script);
// The script's text: UTF-8 (a byte-order mark is skipped) or, when the bytes are not
// valid UTF-8, the Windows code page of the terminals in the field.
QString Script_Texto(const QByteArray& bytes);

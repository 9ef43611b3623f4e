// The price-check terminal's product file.

#include "cloud/Tarvel_Sincronia_Donwload_Unit.h"
#include "foundation/Database.h"
#include "foundation/Settings.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <functional>

namespace {

class Terminal_Arquivo : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::copy(QStringLiteral(ONDAVIA_PROGRAM_DIR "/dbase.s3db"), dir.file("dbase.s3db"));
        QFile::setPermissions(dir.file("dbase.s3db"), QFile::ReadOwner | QFile::WriteOwner);
        c.open(dir.file("dbase.s3db"), db::Journal::Wal);
        cfg.conf_terminal_mod = QStringLiteral("Terminal Gertec G2-s Wifi");
    }

    void produto(int id, const QString& cbarra, const QString& nome, double venda, int ativo = 1) {
        db::Query q(c);
        q.setSql("insert into produtos (id, cbarra, produto, venda, ativo) "
                 "values (:id, :cbarra, :produto, :venda, :ativo)");
        q.bind(":id", id);
        q.bind(":cbarra", cbarra);
        q.bind(":produto", nome);
        q.bind(":venda", venda);
        q.bind(":ativo", ativo);
        q.exec();
    }

    // The file written on its own thread, once it is there (it appears whole).
    QByteArray gerado(const QString& arquivo, int ms = 10000) {
        QDeadlineTimer prazo(ms);
        while (!QFileInfo::exists(arquivo) && !prazo.hasExpired()) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
        QFile f(arquivo);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    TestDir dir;
    db::Connection c;
    TSettings cfg;
};

TEST_F(Terminal_Arquivo, OneLinePerProductInIdOrder) {
    produto(3, "7891000100011", "ARROZ TIPO 1 PACOTE 5 KG", 25.9);
    produto(1, "", "FEIJAO", 1500);
    produto(2, "78910001000119999", QString::fromUtf8("AÇÚCAR"), 0.005, 0);
    produto(4, "2000021", "QUEIJO", 1234567.891);
    EXPECT_EQ(Terminal_Arquivo_Conteudo(c),
              QByteArray("\xEF\xBB\xBF"
                         "|FEIJAO|1.500,00|\r\n"
                         "7891000100011|A\xC3\x87\xC3\x9A"
                         "CAR|0,01|\r\n"
                         "7891000100011|ARROZ TIPO 1 PACOTE |25,90|\r\n"
                         "2000021|QUEIJO|1.234.567,89|\r\n"));
}

TEST_F(Terminal_Arquivo, AnEmptyCatalogueGivesTheMarkAlone) {
    EXPECT_EQ(Terminal_Arquivo_Conteudo(c), QByteArray("\xEF\xBB\xBF"));
}

TEST_F(Terminal_Arquivo, WrittenOnItsOwnThreadIntoNewFolders) {
    produto(1, "7891000100011", "ARROZ", 25.9);
    cfg.conf_terminal_file = dir.file("consulta/loja 1/Arquivo.txt");
    Terminal_GerarArquivo(cfg, dir.file("dbase.s3db"));
    EXPECT_EQ(gerado(cfg.conf_terminal_file), QByteArray("\xEF\xBB\xBF"
                                                         "7891000100011|ARROZ|25,90|\r\n"));

    // No file name: the fixed one, under the home folder here.
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", dir.file("casa").toUtf8());
    cfg.conf_terminal_file.clear();
    Terminal_GerarArquivo(cfg, dir.file("dbase.s3db"));
    const QByteArray fixo = gerado(dir.file("casa/Tarvel/Arquivo.txt"));
    qputenv("HOME", home);
    EXPECT_EQ(fixo, QByteArray("\xEF\xBB\xBF"
                               "7891000100011|ARROZ|25,90|\r\n"));
}

TEST_F(Terminal_Arquivo, NoModelNoFileAndFailuresStaySilent) {
    produto(1, "7891000100011", "ARROZ", 25.9);
    const struct {
        const char* modelo;
        const char* banco;
    } casos[] = {{"", "dbase.s3db"}, {"Nenhum", "dbase.s3db"}, {"Terminal", "nenhum.s3db"}};
    for (const auto& caso : casos) {
        cfg.conf_terminal_mod = QString::fromUtf8(caso.modelo);
        cfg.conf_terminal_file = dir.file(QStringLiteral("%1/Arquivo.txt").arg(caso.modelo));
        Terminal_GerarArquivo(cfg, dir.file(caso.banco));
    }
    // A last file with a model, after the others: when it is there, they had their turn.
    cfg.conf_terminal_mod = QStringLiteral("Terminal");
    cfg.conf_terminal_file = dir.file("ultimo/Arquivo.txt");
    Terminal_GerarArquivo(cfg, dir.file("dbase.s3db"));
    EXPECT_NE(gerado(cfg.conf_terminal_file), "<missing>");
    QThread::msleep(200);
    for (const auto& caso : casos)
        EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("%1/Arquivo.txt").arg(caso.modelo))))
            << caso.modelo;
    EXPECT_FALSE(QFileInfo::exists(dir.file("nenhum.s3db")));
}

} // namespace

#include "printlib/Ferramentas.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

TEST(ProgramaConfigDLL, BuiltBesideTheTerminalAndTheLibraryLinkingNeither) {
    const QDir pasta = QFileInfo(QStringLiteral(PRINTLIB_ONDAVIA)).dir();
    EXPECT_EQ(QFileInfo(QStringLiteral(PRINTLIB_CONFIGDLL)).dir(), pasta);
    EXPECT_EQ(QFileInfo(QStringLiteral(PRINTLIB_LIBRARY)).dir(), pasta);
    if (!Ferramentas::Existe(QStringLiteral("readelf"))) GTEST_SKIP() << "readelf is not installed";
    const Ferramentas::Saida s = Ferramentas::Rodar(
        QStringLiteral("readelf"), {QStringLiteral("-d"), QStringLiteral(PRINTLIB_CONFIGDLL)});
    ASSERT_EQ(s.codigo, 0);
    EXPECT_TRUE(s.out.contains("NEEDED"));
    EXPECT_FALSE(s.out.contains("Tarvel_PrintSerial"));
}

TEST(ProgramaConfigDLL, StartsOnItsOwnFolderAndWritesNothingUntilSaved) {
    TestDir dir;
    const QString programa = dir.file(QStringLiteral("Tarvel_ConfigDLL"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PRINTLIB_CONFIGDLL), programa));
    const QByteArray ini = "[PrintSerialDLL]\r\nFonteTamanho=3\r\n";
    dir.write("confg.ini", ini);

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(programa, {});
    ASSERT_TRUE(p.waitForStarted());
    // The form's event loop runs until the form is closed.
    EXPECT_FALSE(p.waitForFinished(1500)) << p.readAllStandardError().toStdString();
    p.kill();
    p.waitForFinished();
    EXPECT_EQ(dir.read("confg.ini"), ini);
}

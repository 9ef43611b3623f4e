#include "Tarvel_PrintSerial.h"

#include "PrintSerial_Caixas.h"
#include "PrintSerial_Config.h"
#include "PrintSerial_Impressao.h"

#include "foundation/Errors.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QFileInfo>

#include <exception>
#include <memory>

namespace {

// A foreign caller, such as a plain C program, has no application object; the call
// then makes one of its own and ends it before returning.
class TAplicacao_Da_Chamada {
public:
    TAplicacao_Da_Chamada() {
        if (QCoreApplication::instance()) return;
        static int argc = 1;
        static char nome[] = "Tarvel_PrintSerial";
        static char* argv[] = {nome, nullptr};
        m_propria = std::make_unique<QApplication>(argc, argv);
    }
    // Printing needs fonts, a preview needs widgets.
    static bool Serve(bool visualizar) {
        QCoreApplication* app = QCoreApplication::instance();
        return visualizar ? qobject_cast<QApplication*>(app) != nullptr
                          : qobject_cast<QGuiApplication*>(app) != nullptr;
    }

private:
    std::unique_ptr<QApplication> m_propria;
};

// The library's boxes while the call lasts.
class TCaixas_Da_Chamada {
public:
    TCaixas_Da_Chamada() { MessageBox::setBackend(&m_caixas); }
    ~TCaixas_Da_Chamada() { MessageBox::setBackend(nullptr); }

private:
    TPrintSerial_Caixas m_caixas;
};

QString texto(const char* c) {
    return c ? Platform::fromSystem8bit(QByteArray(c)) : QString();
}

} // namespace

extern "C" LIBEXPORT bool STDCALL Impressao_Mini_Termica(const char* Arquivo_Caminho,
                                                         const char* QRCode, bool Visualizar) {
    // No exception may cross into a foreign caller: a failed print is a false result.
    try {
        // Any non-zero byte is true, whatever a foreign caller puts in it.
        const bool visualizar = *reinterpret_cast<const unsigned char*>(&Visualizar) != 0;
        const QString arquivo = texto(Arquivo_Caminho);
        if (arquivo.isEmpty() || !QFileInfo(arquivo).isFile()) return false;
        const QString qrCode = texto(QRCode);

        const TAplicacao_Da_Chamada aplicacao;
        if (!TAplicacao_Da_Chamada::Serve(visualizar)) {
            qWarning("Tarvel_PrintSerial: the caller's application cannot show or print pages");
            return false;
        }
        const TCaixas_Da_Chamada caixas;
        return PrintSerial::Impressao_Executar(arquivo, qrCode, visualizar,
                                               PrintSerial::Ini_Caminho());
    } catch (const Error& e) {
        qWarning("Tarvel_PrintSerial: %s", qUtf8Printable(e.message()));
    } catch (const std::exception& e) {
        qWarning("Tarvel_PrintSerial: %s", e.what());
    } catch (...) {
        qWarning("Tarvel_PrintSerial: the print failed");
    }
    return false;
}

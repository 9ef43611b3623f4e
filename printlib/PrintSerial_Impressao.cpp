#include "PrintSerial_Impressao.h"

#include "Impressora.h"
#include "PrintSerial_Config.h"
#include "Preview_Unit.h"
#include "Relatorio.h"

#include <QFileInfo>

namespace PrintSerial {

void Relatorio_Saida(const Relatorio::TRelatorio& relatorio, bool visualizar,
                     const QString& documento, QWidget* parent) {
    if (visualizar) {
        TPreview preview(relatorio, documento, parent);
        preview.exec();
    } else {
        Relatorio::Imprimir_Padrao(relatorio, documento);
    }
}

bool Impressao_Executar(const QString& arquivo, const QString& qrCode, bool visualizar,
                        const QString& iniPath) {
    if (arquivo.isEmpty() || !QFileInfo(arquivo).isFile()) return false;

    TPrintSerial_Config config = Config_Ler(iniPath);
    config.CBarra = qrCode;
    config.ArquivoOLD = arquivo;

    QStringList linhas = Relatorio::Linhas_Ler(arquivo);
    const int n = int(linhas.size());
    const Relatorio::TRelatorio relatorio(std::move(linhas),
                                          Relatorio::Pagina_Impressao(config, n, qrCode));
    Relatorio_Saida(relatorio, visualizar, QFileInfo(arquivo).fileName());

    Config_Salvar(iniPath, config);
    return true;
}

} // namespace PrintSerial

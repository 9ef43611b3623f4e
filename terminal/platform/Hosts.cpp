#include "Hosts.h"

#include <QtGlobal>

namespace Hosts {

namespace {
QString ou(const char* variavel, const char* padrao) {
    const QString v = qEnvironmentVariable(variavel);
    return v.isEmpty() ? QString::fromLatin1(padrao) : v;
}
} // namespace

QString Site() {
    return ou("ONDAVIA_SITE_URL", "https://www.balcona.com.br");
}

QString Fornecedor() {
    return ou("ONDAVIA_VENDOR_URL", "https://www.tarvel.com.br");
}

QString Loja_Aplicativo() {
    return ou("ONDAVIA_STORE_URL",
              "https://play.google.com/store/apps/details?id=br.com.balcona.app");
}

QString Portal() {
    return ou("ONDAVIA_PORTAL_URL", "https://app.balcona.com.br");
}

} // namespace Hosts

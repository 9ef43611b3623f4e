#pragma once

#include "foundation/DModule_Unit.h"
#include "foundation/Settings.h"
#include "sale/Principal_Unit.h"

#include "support/TestDir.h"

#include <QString>

#include <functional>
#include <memory>

namespace db {
class Connection;
}

// A program folder with a company whose operator's credentials are saved, its database
// holding a catalogue, and the main window signed in on it (offline), on the sale tab.
// Sales are not uploaded after the checkout unless `ajustes` turns "enviar_venda" on.
class Balcao {
public:
    static constexpr const char* EMAIL = "caixa@loja.com.br";
    static constexpr const char* SENHA = "segredo";
    static constexpr const char* CNPJ = "11.222.333/0001-81";

    // `ajustes` changes the preferences saved before the window starts; `catalogo` fills
    // the company database (by default, the small catalogue of Catalogo_Padrao).
    explicit Balcao(std::function<void(TSettings&)> ajustes = {},
                    std::function<void(db::Connection&)> catalogo = {});
    ~Balcao();

    static void Catalogo_Padrao(db::Connection& c);
    // n products with 13-digit barcodes 789000000000..., names "Produto n", in one
    // transaction.
    static void Catalogo_Grande(db::Connection& c, int n);

    TPrincipal& w() { return *m_w; }
    TDModule& dm() { return m_dm; }
    QString pastaEmpresa() const { return dir.path() + "11222333000181/"; }

    // Keys as the operator presses them, to whatever has the focus.
    void teclar(int key, Qt::KeyboardModifiers mod = Qt::NoModifier);
    void digitar(const QString& texto);
    // Types a text into the search box and presses Enter.
    void buscar(const QString& texto);
    // The value of the first column of the first row.
    QString sql(const QString& consulta);

    TestDir dir;

private:
    TDModule m_dm;
    std::unique_ptr<TPrincipal> m_w;
};

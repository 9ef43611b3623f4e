#pragma once

#include "cloud/JsonLeitor.h"

#include <QString>

#include <memory>
#include <vector>

class QIODevice;

// The catalogue reply, read in pieces. It runs to tens of megabytes: parsed whole it
// would take four times its size in memory, so one pass checks it and finds the elements
// of the root's arrays, and the sections then parse a run of elements at a time.
class TSincronia_Resposta {
public:
    // Checks the text (strict JSON) and maps it; never throws. The text must outlive this.
    explicit TSincronia_Resposta(const QString& texto);

    bool valida() const { return m_valida; }
    const QString& texto() const { return m_texto; }

    // The reply re-indented as Json_Indentar lays it out (4 spaces a level, members in
    // their order), a line break after the last line, in the system's 8-bit code page;
    // nothing when the text is not JSON. Streamed: throws FileError when a write fails.
    void Despejar(QIODevice& saida) const;

    // The root value, with each array of the root's members standing as "[n]" (n: its
    // number for lista()). Throws WebAPIError when the text is not JSON.
    JsonValor raiz() const;

    // One array of the root's members, by key: throws WebAPIError as JsonValor::array
    // does when the key is missing or not an array.
    class Lista {
    public:
        int tamanho() const { return int(m_faixas ? m_faixas->size() : 0); }
        // Elements [de, ate) parsed together, as an array (index 0 is element `de`).
        JsonValor pedaco(int de, int ate) const;

    private:
        friend class TSincronia_Resposta;
        struct Faixa {
            qsizetype inicio, fim;
        };
        const QString* m_texto = nullptr;
        const std::vector<Faixa>* m_faixas = nullptr;
    };
    Lista lista(const QString& chave) const;

private:
    void varrer();

    const QString& m_texto;
    bool m_valida = false;
    QString m_erro;
    bool m_objeto = false;
    QString m_esqueleto;
    std::vector<std::vector<Lista::Faixa>> m_arrays;
    mutable std::unique_ptr<JsonDocumento> m_raiz;
};

#pragma once

#include "cloud/WebAPI.h"

#include <QString>

#include <memory>

// Reads the JSON replies of the cloud account with the value rules of the envelope:
// keys by exact name; a number may come as a JSON number or as a text holding one
// ("12", "2.5"); a text read without a default fails when its key is missing and is
// empty for null; a number without a default fails when missing or null; with a default,
// a missing key or null gives the default. Failures throw WebAPIError carrying the
// reply text.
class JsonValor;

class JsonDocumento {
public:
    // Parses the text; throws WebAPIError when it is empty or not JSON.
    explicit JsonDocumento(const QString& texto);
    explicit JsonDocumento(const QByteArray& utf8);
    ~JsonDocumento();
    JsonDocumento(const JsonDocumento&) = delete;
    JsonDocumento& operator=(const JsonDocumento&) = delete;

    JsonValor raiz() const;
    const QString& texto() const { return m_texto; }

private:
    struct Impl;
    std::unique_ptr<Impl> m;
    QString m_texto;
};

class JsonValor {
public:
    bool isObjeto() const;
    bool isArray() const;
    bool isNull() const;
    bool contem(const QString& chave) const;

    JsonValor campo(const QString& chave) const; // throws when missing
    JsonValor array(const QString& chave) const; // throws when missing or not an array
    int tamanho() const;                         // elements of an array
    JsonValor operator[](int i) const;           // throws when out of range

    QString texto(const QString& chave) const;                        // required
    QString texto(const QString& chave, const QString& padrao) const; // with a default
    double numero(const QString& chave) const;
    double numero(const QString& chave, double padrao) const;
    qint32 inteiro(const QString& chave) const;
    qint32 inteiro(const QString& chave, qint32 padrao) const;

    // This value as text (a string as it stands; a number or other value as its JSON).
    QString comoTexto() const;

private:
    friend class JsonDocumento;
    struct Ref; // the parsed document, shared by every value taken from it
    std::shared_ptr<const Ref> m;
    // The parser's element, kept opaque so that this header does not pull in the parser.
    alignas(void*) unsigned char m_el[2 * sizeof(void*)] = {};
};

// The reply re-indented with 4 spaces a level, members in their order (for the dump
// "JSONText.txt"). Empty when the text is not JSON.
QString Json_Indentar(const QString& texto);

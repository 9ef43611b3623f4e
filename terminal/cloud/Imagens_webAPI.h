#pragma once

#include "foundation/Errors.h"

#include <QImage>
#include <QString>

struct TSettings;

// Pictures of the cloud account's records: the account names a picture's web address,
// the terminal fetches it and keeps it, fitted, as a file.

// Sends "download_imagens" for a record ("produtos" or "empresas" and its id) with the
// signed-in user's credentials and returns "url": the picture's address, empty when the
// record has none. Failures (WebAPIError), a reply without "url" among them, reach the
// caller.
QString DonwLoad_Imagens(const TSettings& cfg, const QString& WebAPI_URL, const QString& tabela,
                         qint64 tabela_id);

// A picture that could not be fetched or read.
class ImagemError : public Error {
public:
    using Error::Error;
};

// The picture of exactly largura x altura into which `origem` is fitted with its
// proportions kept and centred; the uncovered margins stay transparent. A null picture
// stays null.
QImage Imagem_Ajustar(const QImage& origem, int largura, int altura);

// The largest picture body a fetch takes.
inline constexpr qint64 Imagem_Limite = qint64(16) << 20;

struct TImageViewerHelper {
    // Fetches `endereco` with an HTTP GET into `bitmap` and fits it with Imagem_Ajustar.
    // Only http and https; an https address is reached over TLS 1.2 alone and without a
    // check of the server's certificate. Redirects are not followed. The format (PNG,
    // JPEG, ...) comes from the content. An empty body leaves the bitmap as it was.
    // Throws ImagemError for a failed connection, a status other than 2xx (a redirect
    // included) and a body that is not a picture; the bitmap is then untouched.
    static void LoadFromURL(QImage& bitmap, const QString& endereco, int largura, int altura);
};

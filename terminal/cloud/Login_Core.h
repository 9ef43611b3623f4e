#pragma once

#include <QDateTime>
#include <QString>

struct TSettings;

// "horario" of the sign-in: day, month, year, hours, minutes and seconds as 14 digits
// (9 December 2025 at 14:30:05 gives "09122025143005").
QString Login_Horario(const QDateTime& agora);

// Sends "login" with the e-mail and password as typed and fills the user and company
// members from the reply, each element overwriting the one before. Members assigned
// before a failure keep their new values; the failure (WebAPIError) reaches the caller.
void Login_webAPI(TSettings& cfg, const QString& WebAPI_URL, const QString& email,
                  const QString& senha, const QDateTime& agora = QDateTime::currentDateTime());

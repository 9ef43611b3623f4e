#pragma once

#include <QString>

struct TSettings;

// The permission question of the cloud account: may the user with this e-mail and
// password do what the permission number and name stand for? The terminal asks one
// right, 50 "permitir", before a discount beyond the limit.
//
// Sends "seguranca" with the supervisor's credentials (not the signed-in user's) and
// answers true when the first element of "permissoes" holds a non-zero integer under the
// permission name (a missing or null value is 0). Every failure answers false: the
// diagnostic text goes to the clipboard, no box is shown, nothing is thrown.
bool Seguranca_webAPI(const TSettings& cfg, const QString& WebAPI_URL, const QString& email,
                      const QString& senha, qint32 permissao_id, const QString& permissao_tipo);

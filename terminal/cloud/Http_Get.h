#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A plain GET of a short text answer from a fixed service (the postal-code service, the
// update site): http or https only, at most 5 redirects within them, no proxy for this
// machine, 10 seconds to connect and 15 in all. The body of a reply of status 200 that
// stays within `limite` bytes; nothing otherwise.
std::optional<QByteArray> Http_Get_Curto(const QString& url, qsizetype limite);

#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Text, number and document helpers used by every screen. Numbers follow the
// Brazilian rules written out here (decimal comma, thousands dot), never the
// machine's locale. Positions and lengths count UTF-16 code units, as QString does.

QString SoNumeros(const QString& Text);
double StringToFloat(const QString& Text);
qint32 StringToInteger(const QString& Text);
QString FloatToString(double Valor);
QString FloatToString_Right(int Spacos, double Valor);
bool TestCPF(const QString& Text);
bool TesteCGC(const QString& Text);
QString GeraCPF(bool Ponto);
QString RemoveAcentos(const QString& Text);
QString Iniciais_Maiusculas(const QString& Text);
QString FormataTelefone(const QString& Text);
QString FormataCEP(const QString& Text);
QString DiaSemana(const QDate& Data);
QDateTime DateMySQLToDateTime(const QString& Text); // throws on an empty or unreadable text
QString BuscaTroca(const QString& Text, const QString& Busca, const QString& Troca);
QString MD5(const QString& Text);

// Formats Valor with a number pattern "0.00,", "0.000," or "0.0000,": that many
// decimals after a decimal comma, thousands grouped with dots, halves rounded away
// from zero (1234.5 with "0.00," gives "1.234,50"). An unknown pattern is read as
// "0.00,".
QString FormatFloat(const QString& Mascara, double Valor);

// The process-wide money mask of the sale screen; "0.00," until the settings set it.
QString Mask_Decimal();
void Set_Mask_Decimal(const QString& Mascara);

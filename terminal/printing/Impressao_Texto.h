#pragma once

#include <QString>
#include <QStringList>

// Fixed-width text of the receipt (41 columns) and the report (40 columns). Lengths
// count characters as QString does.

// w - length(v) blanks, then the first w characters of v: a longer value loses its end.
QString Txt_Direita(const QString& v, int w);
// The first w characters of v, then blanks up to w.
QString Txt_Esquerda(const QString& v, int w);
// The label padded with blanks to `total`, cut to 41 - length(v) characters, then v:
// a value of up to 41 - length(label) characters ends in column 41.
QString Txt_Rotulo(const QString& rotulo, int total, const QString& v);
// Blanks before t to centre it in `largura` columns: half the room, halves rounded to
// the even neighbour (15.5 gives 16, 14.5 gives 14), none when there is no room.
int Txt_Centro_Espacos(const QString& t, int largura);
QString Txt_Centro(const QString& t, int largura);
// The first n characters of t.
QString Txt_Corte(const QString& t, int n);
// A rule of n dashes.
QString Txt_Traco(int n);
// n blanks.
QString Txt_Brancos(int n);

// The vendor's host name printed at the foot of every local print.
QString Txt_Site_Fornecedor();

// Writes the lines, each ended by CR LF, in the system code page, replacing the file.
// Throws FileError when the file cannot be created or written.
void Txt_Gravar(const QString& caminho, const QStringList& linhas);
// Reads a print file back into lines: UTF-8 when it begins with a byte-order mark,
// otherwise the system code page. Line ends CR LF or LF; a last empty piece after the
// final line end is not a line.
QStringList Txt_Ler(const QByteArray& bytes);

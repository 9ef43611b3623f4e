#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRectF>

class QPainter;

// The small pictures and the fixed-width type that the lists and panels share.

// "Courier New" (fontconfig gives Liberation Mono, with the same metrics).
QFont Fonte_Courier(int pontos, bool negrito);

// A shopping cart drawn into r.
void Desenhar_Carrinho(QPainter* p, const QRectF& r, const QColor& cor);
// Head and shoulders drawn into r.
void Desenhar_Pessoa(QPainter* p, const QRectF& r, const QColor& cor);

QIcon Icone_Lupa(const QColor& cor);
QIcon Icone_Pessoa(const QColor& cor);

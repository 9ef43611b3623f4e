#pragma once

class QStackedWidget;
class QWidget;

// Slides the page in from the right. The page is current as soon as this returns; only
// the picture moves.
void Deslizar_Aba(QStackedWidget* abas, QWidget* pagina);

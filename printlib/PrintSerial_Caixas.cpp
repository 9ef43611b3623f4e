#include "PrintSerial_Caixas.h"

#include <QApplication>
#include <QMessageBox>

void TPrintSerial_Caixas::showMessage(const QString& text) {
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(), text);
}

MessageBox::Answer TPrintSerial_Caixas::confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
                    QMessageBox::Ok | QMessageBox::Cancel, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? MessageBox::Ok : MessageBox::Cancel;
}

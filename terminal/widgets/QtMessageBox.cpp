#include "QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QWidget* parentWindow() {
    return QApplication::activeWindow();
}

QString title() {
    return QStringLiteral("Balcona");
}
} // namespace

void QtMessageBox::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, parentWindow());
    box.exec();
}

MessageBox::Answer QtMessageBox::confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, title(), text, QMessageBox::Ok | QMessageBox::Cancel,
                    parentWindow());
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? MessageBox::Ok : MessageBox::Cancel;
}

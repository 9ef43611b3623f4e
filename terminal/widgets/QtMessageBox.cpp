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

// The system's texts break lines with carriage returns alone, which a box would not show.
QString linhas(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}
} // namespace

void QtMessageBox::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title(), linhas(text), QMessageBox::Ok, parentWindow());
    box.exec();
}

MessageBox::Answer QtMessageBox::confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, title(), linhas(text),
                    QMessageBox::Ok | QMessageBox::Cancel, parentWindow());
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? MessageBox::Ok : MessageBox::Cancel;
}

#pragma once

#include <QByteArray>
#include <QString>

// Our stand-in for the Windows services the terminal uses. The Windows branches stay
// small and live in Platform.cpp.
namespace Platform {

// The folder of the running executable, with a trailing separator.
QString programDir();
QString executablePath();
// The per-user application-data folder, with a trailing separator.
QString appDataDir();

// Texts in the system's 8-bit code page (UTF-8 here, the ANSI code page on Windows).
QString fromSystem8bit(const QByteArray& bytes);
QByteArray toSystem8bit(const QString& text);

void setClipboardText(const QString& text);
// The shell's "open": a document in its program, a web address in the browser.
bool shellOpen(const QString& target);

// Fixed Windows paths of the system ("C:\Tarvel\Arquivo.txt") become paths under the
// user's home folder ("~/Tarvel/Arquivo.txt") elsewhere; other paths are unchanged.
QString mapFixedPath(const QString& windowsPath);
// Device names: "COM1" -> "/dev/ttyS0", "LPT1" -> "/dev/lp0"; a "\\host\printer"
// share -> "printer" (the print queue's name); anything else unchanged.
QString mapDevice(const QString& port);
// True when mapDevice() turned the name into a print queue.
bool isPrinterShare(const QString& port);

} // namespace Platform

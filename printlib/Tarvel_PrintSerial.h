/* The print library's one export. Usable from C and C++. */
#ifndef TARVEL_PRINTSERIAL_H
#define TARVEL_PRINTSERIAL_H

#ifndef __cplusplus
#include <stdbool.h> /* bool is one byte, as in C++, on every platform we build for */
#endif

#if defined(_WIN32)
#if defined(TARVEL_PRINTSERIAL_BUILD)
#define LIBEXPORT __declspec(dllexport)
#else
#define LIBEXPORT __declspec(dllimport)
#endif
/* The standard convention of library exports: the callee removes the arguments. */
#if defined(_M_IX86) || defined(__i386__)
#define STDCALL __stdcall
#else
#define STDCALL
#endif
#else
#define LIBEXPORT __attribute__((visibility("default")))
#define STDCALL
#endif

#ifdef __cplusplus
static_assert(sizeof(bool) == 1, "the export passes one-byte booleans");
extern "C" {
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
_Static_assert(sizeof(bool) == 1, "the export passes one-byte booleans");
#endif

/* Prints the text file Arquivo_Caminho, one row per line, with a QR code of QRCode
 * under the lines when the library's settings ask for it. Visualizar true shows the
 * preview window and returns when it is closed; false prints on the default printer
 * without a dialog. Both texts are zero-terminated in the system code page; a null
 * pointer is an empty text. The library keeps nothing of the caller's memory.
 * Returns false when the file does not exist (nothing else happens then) or when the
 * page could not be printed; true once printed or once the preview was closed. */
LIBEXPORT bool STDCALL Impressao_Mini_Termica(const char* Arquivo_Caminho, const char* QRCode,
                                              bool Visualizar);

#ifdef __cplusplus
}
#endif

#endif
